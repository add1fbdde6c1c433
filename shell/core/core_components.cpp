#include "shell/core/core_components.h"

#include "shell/core/dir_mon.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_link.h"
#include "shell/core/system_image_list.h"
#include "shell/forms/form_reader.h"

#include <mutex>

namespace wordloom::shell {

void RegisterShellCoreComponents() {
    static std::once_flag once;
    std::call_once(once, [] {
        TComponentRegistry::Register<TDirMon>();
        TComponentRegistry::Register<TVelShellLink>();
        TComponentRegistry::Register<TPathwright>();
        TComponentRegistry::Register<TVelSystemImageList>();
    });
}

} // namespace wordloom::shell
