#include "core/link/app_environment.h"

namespace Brenno {

AppEnvironment::AppEnvironment() : LinkBuffer(kLinkBufferSize, 0) {}

// The link's members go first (the port closes), then the projects, the catalog and the
// configuration of the project environment.
AppEnvironment::~AppEnvironment() = default;

AppEnvironment* InstalledAppEnvironment() { return dynamic_cast<AppEnvironment*>(InstalledEnvironment()); }

}  // namespace Brenno
