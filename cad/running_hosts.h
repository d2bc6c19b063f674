#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "cad/automation.h"

namespace navisaz {

// The table of running hosts by ProgID, as the system's running-object table holds them: a host
// registers itself when it starts, and a ProgID may also be known (registered) with no instance
// running. Lookups fail with HostLookupError in both cases where nothing answers.
class RunningHosts : public HostLocator {
  public:
    // The process-wide table that GetActiveObject consults by default.
    static RunningHosts& Instance();

    void Register(const std::u16string& progId, const std::shared_ptr<AcadApplication>& host);
    // Known ProgID without a running instance (an installed but closed host).
    void RegisterProgId(const std::u16string& progId);
    void Unregister(const std::u16string& progId);
    void Clear();

    std::shared_ptr<AcadApplication> GetActiveObject(const std::u16string& progId) override;

  private:
    std::mutex mutex_;
    std::map<std::u16string, std::weak_ptr<AcadApplication>> hosts_;  // by folded ProgID
};

}  // namespace navisaz
