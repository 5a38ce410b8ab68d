#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

int32_t clock_ms() {
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    return static_cast<int32_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}

void sleep_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace platform
