// The command flags and the message list of the last calculation.
#pragma once
#include <array>
#include <string>

namespace kamo {

struct Flags {
  bool abortFlag = false;  // the current command must stop
  bool modified = false;   // the project changed since it was saved or opened
  bool calcError = false;  // the last calculation gave up
};

// Up to twelve distinct one-line texts in the order of arrival.
class MessageList {
 public:
  static constexpr int kCapacity = 12;

  void add(const std::string& text);
  // Empties the list and clears calcError and abortFlag: the start of a calculation.
  void clear(Flags& flags);
  // Empties the list and all its texts: program start and a new project.
  void reset();

  int count() const { return count_; }
  bool empty() const { return count_ == 0; }
  // 1-based, as the explanation lookups count.
  const std::string& at(int i) const;
  bool contains(const std::string& text) const;

 private:
  std::array<std::string, kCapacity> texts_{};
  int count_ = 0;
};

}  // namespace kamo
