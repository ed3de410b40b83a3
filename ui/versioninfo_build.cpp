#include "ui/versioninfo.h"

#include "version.h"

namespace marlovin {

ProgramVersion ReadProgramVersion() {
    return {QString::fromUtf8(version::kProductName), version::kMajor, version::kMinor,
            version::kRevision};
}

}  // namespace marlovin
