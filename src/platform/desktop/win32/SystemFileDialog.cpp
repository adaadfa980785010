// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop/win32/SystemFileDialog.h"

#include "platform/runtime/win32/Ansi.h"
#include "platform/runtime/win32/Apartment.h"
#include "platform/runtime/win32/SystemLibrary.h"

#include <cstddef>
#include <string>
#include <vector>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

// The record's size in its first form, which every Windows takes: up to lpTemplateName, without the
// fields Windows 2000 added. That is the size the program gives.
static_assert(offsetof(::OPENFILENAMEA, pvReserved) == 76);
static_assert(offsetof(::OPENFILENAMEW, pvReserved) == 76);

// A text of the record as the call takes it: a buffer of its own, whole, NULs and all, or none for a text
// never set. Char is the A form's char or the W form's wchar_t.
template <typename Char> struct Buffer {
    std::optional<std::basic_string<Char>> text;
    Char* data() { return text ? text->data() : nullptr; }
};

Buffer<char> ansiBuffer(const std::optional<std::string>& text)
{
    return {text};
}
Buffer<wchar_t> wideBuffer(const std::optional<std::string>& text)
{
    return {text ? std::optional(win32::WideFromUtf8(*text)) : std::nullopt};
}
std::optional<std::string> fromBuffer(const Buffer<char>& buffer)
{
    return buffer.text;
}
std::optional<std::string> fromBuffer(const Buffer<wchar_t>& buffer)
{
    return buffer.text ? std::optional(win32::Utf8FromWide(*buffer.text)) : std::nullopt;
}

// A buffer's length in the call's characters: a count given in UTF-8's bytes holds the same text in no
// more UTF-16 units, and the buffers the program gives hold spaces and NULs, one unit each.
template <typename Char> DWORD lengthIn(const Buffer<Char>& buffer, std::uint32_t given)
{
    return sizeof(Char) == 1 || !buffer.text ? given : static_cast<DWORD>(buffer.text->size());
}

// The record converted field for field, each text into a buffer of its own; the call; and the record
// back from it, each text from its whole buffer, so that the path's NUL and what stood behind it come back
// too. Record is OPENFILENAMEA or OPENFILENAMEW, Char its character.
template <typename Record, typename Char, typename Convert, typename Call>
bool callWith(OPENFILENAMEA& record, Convert convert, Call call)
{
    Buffer<Char> filter = convert(record.lpstrFilter);
    Buffer<Char> customFilter = convert(record.lpstrCustomFilter);
    Buffer<Char> file = convert(record.lpstrFile);
    Buffer<Char> fileTitle = convert(record.lpstrFileTitle);
    Buffer<Char> initialDir = convert(record.lpstrInitialDir);
    Buffer<Char> title = convert(record.lpstrTitle);
    Buffer<Char> defExt = convert(record.lpstrDefExt);
    Buffer<Char> templateName = convert(record.lpTemplateName);

    Record native{};
    native.lStructSize = record.lStructSize;
    native.hwndOwner = win32::ToHwnd(record.hwndOwner);
    native.hInstance = reinterpret_cast<HINSTANCE>(record.hInstance);
    native.lpstrFilter = filter.data();
    native.lpstrCustomFilter = customFilter.data();
    native.nMaxCustFilter = lengthIn(customFilter, record.nMaxCustFilter);
    native.nFilterIndex = record.nFilterIndex;
    native.lpstrFile = file.data();
    native.nMaxFile = lengthIn(file, record.nMaxFile);
    native.lpstrFileTitle = fileTitle.data();
    native.nMaxFileTitle = lengthIn(fileTitle, record.nMaxFileTitle);
    native.lpstrInitialDir = initialDir.data();
    native.lpstrTitle = title.data();
    native.Flags = record.Flags;
    native.nFileOffset = record.nFileOffset;
    native.nFileExtension = record.nFileExtension;
    native.lpstrDefExt = defExt.data();
    native.lCustData = static_cast<LPARAM>(record.lCustData);
    native.lpfnHook = reinterpret_cast<LPOFNHOOKPROC>(record.lpfnHook);
    native.lpTemplateName = templateName.data();

    const bool confirmed = call(native) != FALSE;

    record.nFilterIndex = native.nFilterIndex;
    record.lpstrCustomFilter = fromBuffer(customFilter);
    record.lpstrFile = fromBuffer(file);
    record.lpstrFileTitle = fromBuffer(fileTitle);
    record.Flags = native.Flags;
    record.nFileOffset = native.nFileOffset;
    record.nFileExtension = native.nFileExtension;
    return confirmed;
}

} // namespace

// Where the process's code page is UTF-8 the A form takes the record as it is; elsewhere the W form takes
// it with its texts in UTF-16 (platform/runtime/win32/Ansi.h), offsets then counting UTF-16 units. The
// dialog's library is loaded at the first dialog, and the thread enters OLE's apartment for it. Without
// either, the dialog fails as a dialog that could not be shown does.
bool SystemFileDialog::GetOpenFileName(OPENFILENAMEA& record)
{
    static const auto openA =
        win32::LibraryFunction<decltype(&::GetOpenFileNameA)>(L"comdlg32.dll", "GetOpenFileNameA");
    static const auto openW =
        win32::LibraryFunction<decltype(&::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (openA == nullptr || openW == nullptr || !win32::EnterApartment(win32::Apartment::Ole))
        return false;
    if (win32::AnsiIsUtf8())
        return callWith<::OPENFILENAMEA, char>(record, ansiBuffer,
                                               [](::OPENFILENAMEA& native) { return openA(&native); });
    return callWith<::OPENFILENAMEW, wchar_t>(record, wideBuffer,
                                              [](::OPENFILENAMEW& native) { return openW(&native); });
}

} // namespace wobblix::platform
