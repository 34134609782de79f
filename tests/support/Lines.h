// Lines as the tests write and compare them: copies of the lines a
// ManuscriptLines views, and views of a test's own lines.
#pragma once

#include "convert/Manuscript.h"
#include "framework/TextFile.h"

namespace zavio::test {

inline LineList Copied(const LineViews& lines)
{
    return LineList(lines.begin(), lines.end());
}

// Valid while `lines` is.
inline LineViews Viewed(const LineList& lines)
{
    return LineViews(lines.begin(), lines.end());
}

}  // namespace zavio::test
