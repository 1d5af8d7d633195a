// A stand-in for the linux-gpib library with the entry points GpibTransport uses. It records every
// call, and what was written, for the tests to read through the extra standin_* functions.
#include <cstring>
#include <string>

namespace {
std::string calls;   // "ibdev(0,5);ibwrt;ibrd;ibonl(0);"
std::string written; // every byte written, in order
std::string reply = "DXS-4820 Function Generator (GPIB stand-in),1.0\n";
int status = 0;
int error = 0;
long count = 0;
int nextDevice = 3;
} // namespace

extern "C" {

__attribute__((visibility("default"))) int ibdev(int board, int pad, int, int, int, int) {
    calls += "ibdev(" + std::to_string(board) + "," + std::to_string(pad) + ");";
    status = 0;
    if (pad < 0 || pad > 30) {
        status = 0x8000;
        error = 4;
        return -1;
    }
    return nextDevice;
}

__attribute__((visibility("default"))) int ibwrt(int, const void* data, long length) {
    calls += "ibwrt;";
    written.append(static_cast<const char*>(data), size_t(length));
    status = 0x2100; // END | CMPL
    count = length;
    return status;
}

__attribute__((visibility("default"))) int ibrd(int, void* buffer, long length) {
    calls += "ibrd;";
    const long n = long(reply.size()) < length ? long(reply.size()) : length;
    std::memcpy(buffer, reply.data(), size_t(n));
    status = 0x2100;
    count = n;
    return status;
}

__attribute__((visibility("default"))) int ibonl(int, int online) {
    calls += "ibonl(" + std::to_string(online) + ");";
    status = 0;
    return status;
}

__attribute__((visibility("default"))) int ThreadIbsta() {
    return status;
}
__attribute__((visibility("default"))) int ThreadIberr() {
    return error;
}
__attribute__((visibility("default"))) long ThreadIbcntl() {
    return count;
}

// For the tests.
__attribute__((visibility("default"))) const char* standin_calls() {
    return calls.c_str();
}
__attribute__((visibility("default"))) const char* standin_written(long* length) {
    *length = long(written.size());
    return written.data();
}
__attribute__((visibility("default"))) void standin_reset() {
    calls.clear();
    written.clear();
}
}
