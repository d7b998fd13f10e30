#include "EvcVersion.h"

namespace evc {

const char* ProgramName() { return "evc"; }
const char* VersionText() { return "1.0"; }

} // namespace evc
