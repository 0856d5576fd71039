#pragma once
// How much memory code under test takes at its worst: the core test program
// counts every byte held through operator new (AllocationMeter.cpp replaces
// it), and a meter reads the highest count since it was made.
#include <cstddef>

namespace n4test {

class AllocationMeter {
  public:
    AllocationMeter(); // the count now is the floor; the highest so far is forgotten
    // The most bytes held at once since the meter was made, above the floor.
    std::size_t peakGrowth() const;

  private:
    long long floor_;
};

} // namespace n4test
