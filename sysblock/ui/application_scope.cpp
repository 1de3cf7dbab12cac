#include "sysblock/ui/application_scope.h"

#include <QApplication>

namespace corvell {

ApplicationScope::ApplicationScope() {
  if (QCoreApplication::instance() == nullptr) own_ = std::make_unique<QApplication>(argc_, argv_);
}

ApplicationScope::~ApplicationScope() = default;

}  // namespace corvell
