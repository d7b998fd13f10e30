// Name and version that evc prints in its header and usage.
#pragma once

namespace evc {

const char* ProgramName();
const char* VersionText();

} // namespace evc
