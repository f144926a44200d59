// Dates and times come from a clock the session holds, so tests can fix them.
#pragma once
#include <memory>

namespace kamo {

struct DateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime now() const = 0;
};

class SystemClock final : public Clock {
 public:
  DateTime now() const override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime t) : t_(t) {}
  DateTime now() const override { return t_; }
  void set(DateTime t) { t_ = t; }

 private:
  DateTime t_;
};

}  // namespace kamo
