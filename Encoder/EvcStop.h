// Stopping from outside (SIGTERM, SIGINT, SIGHUP): the temporary output is removed and evc exits at once.
#pragma once

#include <string>

namespace evc {

void InstallStopHandler();
// The file to remove when stopped; an empty path forgets it.
void SetTemporaryFile(const std::string& path);

} // namespace evc
