#include "WindowWait.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

double WindowWait::scale = 1.0;

void WindowWait::sleepMs(int ms)
{
    const double scaled = std::max(0.0, ms * scale);
    const auto us = static_cast<long long>(std::llround(scaled * 1000.0));
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}
