// What the converter writes of a project's context ids: the [ALIAS] and [MAP]
// sections of an HTML Help project, and the list of ids beside homepage-type
// help. Pure: no files are read or written here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/TextFile.h"
#include "project/HelpProject.h"

namespace zavio {

// The page (file name with ".htm") that shows a context string's topic, or
// nothing. Context strings are to be compared by their ContextKey.
using PageOfContext = std::function<std::optional<std::string>(const std::string& context)>;

struct HhpContextSections {
    LineList alias;                  // "[ALIAS]", then "CONTEXT=page.htm" per id with a page; empty when none has
    LineList map;                    // "[MAP]", then "#define CONTEXT NUMBER" per such id, the number as written
    std::vector<ContextId> leftOut;  // the ids whose topic has no page, in the project's order
};

// An id's topic is its context string's, or, when the project's [ALIAS]
// makes it another name (A=B), the topic of B.
HhpContextSections MakeHhpContextSections(const HelpProject& project, const PageOfContext& pageOf);

// "NUMBER<TAB>CONTEXT<TAB>page.htm" per id in the project's order; an id
// without a page has "★ページなし" in place of the page.
LineList MakeContextIdLines(const HelpProject& project, const PageOfContext& pageOf);

}  // namespace zavio
