// The message list of the last calculation.
#include "core/messages.h"

namespace kamo {

void MessageList::add(const std::string& text) {
  if (contains(text) || count_ >= kCapacity) return;
  texts_[static_cast<size_t>(count_++)] = text;
}

void MessageList::clear(Flags& flags) {
  count_ = 0;
  flags.calcError = false;
  flags.abortFlag = false;
}

void MessageList::reset() {
  count_ = 0;
  for (auto& t : texts_) t.clear();
}

const std::string& MessageList::at(int i) const {
  static const std::string kEmpty;
  if (i < 1 || i > count_) return kEmpty;
  return texts_[static_cast<size_t>(i - 1)];
}

bool MessageList::contains(const std::string& text) const {
  for (int i = 0; i < count_; ++i)
    if (texts_[static_cast<size_t>(i)] == text) return true;
  return false;
}

}  // namespace kamo
