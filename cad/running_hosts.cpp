#include "cad/running_hosts.h"

#include "cad/host_error.h"
#include "cad/names.h"

namespace navisaz {

RunningHosts& RunningHosts::Instance() {
    static RunningHosts table;
    return table;
}

void RunningHosts::Register(const std::u16string& progId,
                            const std::shared_ptr<AcadApplication>& host) {
    std::lock_guard lock(mutex_);
    hosts_[FoldCase(progId)] = host;
}

void RunningHosts::RegisterProgId(const std::u16string& progId) {
    std::lock_guard lock(mutex_);
    hosts_.try_emplace(FoldCase(progId));
}

void RunningHosts::Unregister(const std::u16string& progId) {
    std::lock_guard lock(mutex_);
    hosts_.erase(FoldCase(progId));
}

void RunningHosts::Clear() {
    std::lock_guard lock(mutex_);
    hosts_.clear();
}

std::shared_ptr<AcadApplication> RunningHosts::GetActiveObject(const std::u16string& progId) {
    std::lock_guard lock(mutex_);
    const auto found = hosts_.find(FoldCase(progId));
    if (found == hosts_.end()) {
        throw HostLookupError("Invalid class string: " + Narrow(progId));
    }
    if (auto host = found->second.lock()) {
        return host;
    }
    throw HostLookupError("Operation unavailable: no running instance of " + Narrow(progId));
}

}  // namespace navisaz
