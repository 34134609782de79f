#include "project/ContextMap.h"

#include <unordered_map>

#include "framework/Cp932.h"

namespace zavio {
namespace {

// Every id with the page of its topic, in the project's order.
std::vector<std::pair<const ContextId*, std::optional<std::string>>> PagesOfIds(const HelpProject& project,
                                                                                const PageOfContext& pageOf)
{
    std::unordered_map<std::string, std::string> targetOf;  // ContextKey of an alias -> its context
    for (const auto& [alias, target] : project.aliases) targetOf.emplace(ContextKey(alias), target);

    std::vector<std::pair<const ContextId*, std::optional<std::string>>> pages;
    for (const ContextId& id : project.ids) {
        // An alias of an alias is followed too, never more often than there
        // are aliases, so a ring of them ends.
        std::string context = id.context;
        for (std::size_t hops = 0; hops < targetOf.size(); ++hops) {
            const auto target = targetOf.find(ContextKey(context));
            if (target == targetOf.end()) break;
            context = target->second;
        }
        std::optional<std::string> page = pageOf(context);
        if (!page && context != id.context) page = pageOf(id.context);
        pages.emplace_back(&id, std::move(page));
    }
    return pages;
}

}  // namespace

HhpContextSections MakeHhpContextSections(const HelpProject& project, const PageOfContext& pageOf)
{
    HhpContextSections sections;
    for (const auto& [id, page] : PagesOfIds(project, pageOf)) {
        if (!page) {
            sections.leftOut.push_back(*id);
            continue;
        }
        sections.alias.push_back(id->context + "=" + *page);
        sections.map.push_back("#define " + id->context + " " + id->number);
    }
    if (!sections.alias.empty()) {
        sections.alias.insert(sections.alias.begin(), "[ALIAS]");
        sections.map.insert(sections.map.begin(), "[MAP]");
    }
    return sections;
}

LineList MakeContextIdLines(const HelpProject& project, const PageOfContext& pageOf)
{
    LineList lines;
    for (const auto& [id, page] : PagesOfIds(project, pageOf))
        lines.push_back(id->number + "\t" + id->context + "\t" + (page ? *page : ToCp932("★ページなし")));
    return lines;
}

}  // namespace zavio
