#pragma once
// The first widget that shows text makes the system's font configuration read from disk: several
// milliseconds on the way to the first paint. Reading it on a second thread while the toolkit
// connects to the display takes that off the path; wait() before the first widget is made lets the
// toolkit find it ready instead of reading it a second time.
#include <thread>

class FontConfigurationPreload {
public:
    FontConfigurationPreload();
    ~FontConfigurationPreload();
    FontConfigurationPreload(const FontConfigurationPreload&) = delete;
    FontConfigurationPreload& operator=(const FontConfigurationPreload&) = delete;

    void wait();

private:
    std::thread m_reader;
};
