#include "com/ComObject.h"

namespace com {

std::atomic<long>& Module::Objects() {
    static std::atomic<long> count{0};
    return count;
}

std::atomic<long>& Module::Locks() {
    static std::atomic<long> count{0};
    return count;
}

} // namespace com
