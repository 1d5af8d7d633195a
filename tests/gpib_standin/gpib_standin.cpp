// A stand-in for the linux-gpib library: records the calls since the last ibdev, and the bytes written.
#include <algorithm>
#include <cstring>
#include <string>

namespace {
std::string calls; // "ibdev(0,5);ibwrt;ibrd;"
std::string written;
const std::string reply = "DXS-4820 Function Generator (GPIB stand-in),1.0\n";
int status = 0;
long count = 0;
} // namespace

extern "C" {

int ibdev(int board, int pad, int, int, int, int) {
    calls = "ibdev(" + std::to_string(board) + "," + std::to_string(pad) + ");";
    written.clear();
    status = pad < 0 || pad > 30 ? 0x8000 : 0; // ERR for an address no device can have
    return status ? -1 : 3;
}
int ibwrt(int, const void* data, long length) {
    calls += "ibwrt;";
    written.append(static_cast<const char*>(data), size_t(length));
    count = length;
    return status = 0x2100; // END | CMPL
}
int ibrd(int, void* buffer, long length) {
    calls += "ibrd;";
    count = std::min(long(reply.size()), length);
    std::memcpy(buffer, reply.data(), size_t(count));
    return status = 0x2100;
}
int ibonl(int, int) {
    return status = 0;
}
int ThreadIbsta() {
    return status;
}
int ThreadIberr() {
    return 4; // EARG, the only error the stand-in makes
}
long ThreadIbcntl() {
    return count;
}
const char* standin_calls() {
    return calls.c_str();
}
const char* standin_written(long* length) {
    *length = long(written.size());
    return written.data();
}
}
