#include "cad/automation.h"

#include "cad/host_error.h"
#include "cad/names.h"

namespace navisaz {

Variant Dispatch::Invoke(std::u16string_view member, CallKind, const std::vector<Variant>&) {
    throw HostError("Unknown name: " + Narrow(member));
}

}  // namespace navisaz
