#include "instrument/GpibTransport.h"

#include <QLibrary>

namespace {

// Status and error values of the linux-gpib interface.
constexpr int statusError = 0x8000;
constexpr int timeout3s = 12; // T3s
constexpr int boardIndex = 0;

QString& overriddenLibraryPath() {
    static QString path;
    return path;
}

QString errorName(int error) {
    switch (error) {
    case 0:
        return "system error (EDVR)";
    case 1:
        return "not controller-in-charge (ECIC)";
    case 2:
        return "no listener on the bus (ENOL)";
    case 3:
        return "not addressed (EADR)";
    case 4:
        return "invalid argument (EARG)";
    case 5:
        return "not system controller (ESAC)";
    case 6:
        return "timeout or aborted (EABO)";
    case 7:
        return "no such board (ENEB)";
    case 10:
        return "I/O in progress (EOIP)";
    case 11:
        return "no capability (ECAP)";
    case 12:
        return "file system error (EFSO)";
    case 14:
        return "bus error (EBUS)";
    case 20:
        return "table problem (ETAB)";
    default:
        return QString("error %1").arg(error);
    }
}

} // namespace

struct GpibTransport::Api {
    using IbDev = int (*)(int, int, int, int, int, int);
    using IbWrt = int (*)(int, const void*, long);
    using IbRd = int (*)(int, void*, long);
    using IbOnl = int (*)(int, int);
    using ThreadInt = int (*)();
    using ThreadLong = long (*)();
    IbDev ibdev = nullptr;
    IbWrt ibwrt = nullptr;
    IbRd ibrd = nullptr;
    IbOnl ibonl = nullptr;
    ThreadInt threadIbsta = nullptr;
    ThreadInt threadIberr = nullptr;
    ThreadLong threadIbcntl = nullptr;

    int status(int returned) const { return threadIbsta ? threadIbsta() : returned; }
    int error() const { return threadIberr ? threadIberr() : -1; }
};

GpibTransport::GpibTransport() = default;

GpibTransport::~GpibTransport() {
    close();
}

void GpibTransport::setLibraryPath(const QString& path) {
    overriddenLibraryPath() = path;
}

QString GpibTransport::libraryPath() {
    return overriddenLibraryPath().isEmpty() ? QString("libgpib.so.0") : overriddenLibraryPath();
}

void GpibTransport::close() {
    if (m_api && m_device >= 0 && m_api->ibonl) m_api->ibonl(m_device, 0);
    m_device = -1;
}

void GpibTransport::configure() {
    close();
    if (!m_library || m_library->fileName() != libraryPath()) {
        m_api.reset();
        auto library = std::make_unique<QLibrary>(libraryPath());
        if (!library->load())
            throw TransportError(1, "The GPIB library " + libraryPath() +
                                        " is not installed (install linux-gpib): " + library->errorString());
        auto api = std::make_unique<Api>();
        api->ibdev = reinterpret_cast<Api::IbDev>(library->resolve("ibdev"));
        api->ibwrt = reinterpret_cast<Api::IbWrt>(library->resolve("ibwrt"));
        api->ibrd = reinterpret_cast<Api::IbRd>(library->resolve("ibrd"));
        api->ibonl = reinterpret_cast<Api::IbOnl>(library->resolve("ibonl"));
        api->threadIbsta = reinterpret_cast<Api::ThreadInt>(library->resolve("ThreadIbsta"));
        api->threadIberr = reinterpret_cast<Api::ThreadInt>(library->resolve("ThreadIberr"));
        api->threadIbcntl = reinterpret_cast<Api::ThreadLong>(library->resolve("ThreadIbcntl"));
        if (!api->ibdev || !api->ibwrt || !api->ibrd || !api->ibonl || !api->threadIbcntl)
            throw TransportError(1, "The GPIB library " + libraryPath() + " lacks ibdev/ibwrt/ibrd/ibonl");
        m_library = std::move(library);
        m_api = std::move(api);
    }
    const int device = m_api->ibdev(boardIndex, m_address, 0, timeout3s, 1, 0);
    if (device < 0 || (m_api->status(0) & statusError))
        throw TransportError(m_api->error(), QString("Cannot reach GPIB address %1 on board %2: %3")
                                                 .arg(m_address)
                                                 .arg(boardIndex)
                                                 .arg(errorName(m_api->error())));
    m_device = device;
}

void GpibTransport::write(const QByteArray& data) {
    if (m_device < 0) throw TransportError(1, "The GPIB device is not configured");
    const int status = m_api->status(m_api->ibwrt(m_device, data.constData(), long(data.size())));
    if (status & statusError)
        throw TransportError(m_api->error(), "GPIB write failed: " + errorName(m_api->error()));
}

QByteArray GpibTransport::read() {
    if (m_device < 0) throw TransportError(1, "The GPIB device is not configured");
    QByteArray buffer(maxReplyBytes, Qt::Uninitialized);
    const int status = m_api->status(m_api->ibrd(m_device, buffer.data(), maxReplyBytes));
    if (status & statusError)
        throw TransportError(m_api->error(), "GPIB read failed: " + errorName(m_api->error()));
    const long count = m_api->threadIbcntl();
    buffer.truncate(count < 0 ? 0 : (count > maxReplyBytes ? maxReplyBytes : count));
    return buffer;
}
