#pragma once
#include <string>

#include "services/FunctionRef.h"
#include "services/PlatformTypes.h"

namespace qvn {

// The NT family keeps the registry's text and every file name in Unicode. Its
// 8-bit functions convert them to the code page with best fit: a character
// the code page lacks becomes a look-alike ("\u0141ukasz" turns "Lukasz", the
// name of another folder) or a question mark (Cyrillic), which names none.
// There every name is therefore read and passed in wide text. 95/98/ME keep
// every name in the code page already and lack most wide forms: there the
// 8-bit ones are used, and the wide ones are never bound.

// Whether the running system names things in Unicode: the NT family. Asked of
// the version query each time, so that it always answers for the platform in
// place; a refused query answers as 95 does.
bool NamesInUnicode();

// Calls a platform function that fills a buffer with text and answers the
// text's length: `wide` where names are Unicode, else `narrow`, whose answer
// is converted from the code page. The text ends at its first terminator (a
// list, as QueryDosDevice gives, yields its first entry). Empty when the
// function fails or the text does not fit in `room` characters.
std::wstring FilledText(FunctionRef<DWORD(wchar_t* buffer, DWORD room)> wide,
                        FunctionRef<DWORD(char* buffer, DWORD room)> narrow, DWORD room = 1024);

}  // namespace qvn
