#pragma once
#include <cstdint>
#include <exception>
#include <string>

namespace qvn {

// What a platform operation raises when it cannot do its work: the file-system
// object cannot be created or cannot delete, a library or entry point cannot be
// bound. The number and description are the raising operation's own.
class Failure : public std::exception {
 public:
  Failure(std::int32_t number, std::wstring description)
      : number_(number), description_(std::move(description)) {}

  std::int32_t Number() const { return number_; }
  const std::wstring& Description() const { return description_; }

  // What could not be removed, where the raiser's caller knows it.
  const std::wstring& Item() const { return item_; }
  Failure& WithItem(std::wstring item) {
    item_ = std::move(item);
    return *this;
  }
  const char* what() const noexcept override { return "qvn::Failure"; }

 private:
  std::int32_t number_;
  std::wstring description_;
  std::wstring item_;
};

}  // namespace qvn
