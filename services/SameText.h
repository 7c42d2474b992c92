#pragma once
#include <string_view>

namespace qvn {

// Texts and paths compared in any case, letter by letter as the C library
// lowers them: the names of files, folders, computers and prefixes that the
// program compares are Windows names, which ignore case.

// `a` and `b` are the same text in any case.
bool SameText(std::wstring_view a, std::wstring_view b);

// `text` starts with `start`, in any case.
bool StartsWithText(std::wstring_view text, std::wstring_view start);

// `path` lies inside `folder` (a '\' follows `folder` in it), in any case;
// both spelled alike otherwise.
bool LiesInsideFolder(std::wstring_view path, std::wstring_view folder);

}  // namespace qvn
