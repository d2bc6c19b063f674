#include "commands/handlers.h"

#include "commands/conversions.h"
#include "commands/drafting.h"
#include "commands/installer.h"
#include "commands/writers.h"

namespace navisaz {

namespace {

struct HandlerRow {
    const char16_t* control;
    void (*handler)(const CommandContext&);
};

void Button2Handler(const CommandContext& context) {
    Button2Click(context, Button2Caption);
}
void Button15Handler(const CommandContext& context) {
    Button2Click(context, Button15Caption);
}

// Page by page, as the surface shows them.
constexpr HandlerRow Handlers[] = {
    {u"Button3", Button3Click},   {u"Button14", Button14Click}, {u"Button10", Button10Click},
    {u"Button20", Button20Click}, {u"Button8", Button8Click},   {u"Button9", Button9Click},
    {u"Button16", Button16Click}, {u"Button17", Button17Click}, {u"Edit2", Edit2Change},
    {u"Button7", Button7Click},   {u"Button1", Button1Click},   {u"Button12", Button12Click},
    {u"Button13", Button13Click}, {u"Button2", Button2Handler}, {u"Button15", Button15Handler},
    {u"Button6", Button6Click},   {u"Button5", Button5Click},   {u"Button11", Button11Click},
    {u"Button4", Button4Click},   {u"Button19", Button19Click},
};

}  // namespace

bool RunHandler(const std::u16string& control, const CommandContext& context) {
    for (const HandlerRow& row : Handlers) {
        if (control == row.control) {
            RunGuarded(context.platform, [&] { row.handler(context); });
            return true;
        }
    }
    return false;
}

const std::vector<std::u16string>& HandlerControlNames() {
    static const std::vector<std::u16string> names = [] {
        std::vector<std::u16string> all;
        for (const HandlerRow& row : Handlers)
            all.push_back(row.control);
        return all;
    }();
    return names;
}

}  // namespace navisaz
