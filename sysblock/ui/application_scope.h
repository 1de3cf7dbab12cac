// An application object for the library's windows when the host process has none.
#pragma once

#include <memory>

class QApplication;

namespace corvell {

// Uses the host's QApplication when there is one; otherwise creates one that lives as long as
// this object.
class ApplicationScope {
 public:
  ApplicationScope();
  ~ApplicationScope();
  ApplicationScope(const ApplicationScope&) = delete;
  ApplicationScope& operator=(const ApplicationScope&) = delete;

  bool OwnsApplication() const { return own_ != nullptr; }

 private:
  int argc_ = 1;
  char name_[8] = "Corvell";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> own_;
};

}  // namespace corvell
