// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// The settings in the registry, where the runtime has always kept them:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ value per key.

#include "platform/settings/SettingsStore.h"

#include <optional>

#include "platform/runtime/win32/Windows.h"

namespace wobblix::platform {

namespace {

const String UserSettings = u"Software\\VB and VBA Program Settings";

String keyPath(const String& folder, const String& application, const String& section)
{
    return (folder.empty() ? UserSettings : folder) + u'\\' + application + u'\\' + section;
}

String quoted(const String& path)
{
    return u"\"HKEY_CURRENT_USER\\" + path + u'"';
}

// Windows' own words for an error code, without the line break it ends them with.
String reasonOf(LSTATUS status)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    String reason = length > 0 ? String(text, text + length) : String();
    if (text != nullptr)
        LocalFree(text);
    while (!reason.empty() && (reason.back() == u'\n' || reason.back() == u'\r' || reason.back() == u' '))
        reason.pop_back();
    if (reason.empty()) {
        const std::string number = std::to_string(status);
        reason = u"Error " + String(number.begin(), number.end());
    }
    return reason;
}

// A REG_SZ value's text: its data up to the NUL that ends it, or all of it where none does.
String textOf(const std::vector<wchar_t>& data, DWORD bytes)
{
    std::size_t length = bytes / sizeof(wchar_t);
    if (length > 0 && data[length - 1] == L'\0')
        --length;
    return String(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
}

// One value's stored text, or none where it does not exist (or is not text).
std::optional<String> readValue(HKEY key, const String& name)
{
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, win32::Wide(name), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, win32::Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return textOf(data, bytes);
}

LSTATUS writeValue(HKEY key, const String& name, const String& text)
{
    return RegSetValueExW(key, win32::Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

struct Key {
    HKEY handle = nullptr;
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key()
    {
        if (handle != nullptr)
            RegCloseKey(handle);
    }
};

} // namespace

// A key that does not exist yet holds nothing, which is no problem.
SettingsReading SettingsStore::Read(const String& application, const String& section) const
{
    const String path = keyPath(m_folder, application, section);
    Key key;
    const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, win32::Wide(path), 0, KEY_READ, &key.handle);
    if (opened == ERROR_FILE_NOT_FOUND)
        return SettingsReading({}, String());
    if (opened != ERROR_SUCCESS)
        return SettingsReading({},
                               u"The registry key " + quoted(path) + u" cannot be read: " + reasonOf(opened));

    DWORD count = 0, longestName = 0, longestData = 0;
    if (const LSTATUS status =
            RegQueryInfoKeyW(key.handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                             &longestName, &longestData, nullptr, nullptr);
        status != ERROR_SUCCESS)
        return SettingsReading({},
                               u"The registry key " + quoted(path) + u" cannot be read: " + reasonOf(status));
    std::map<String, String, std::less<>> values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<wchar_t> data(longestData / sizeof(wchar_t) + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key.handle, index, name.data(), &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue; // a value that is not one of ours, or changed under the reading
        values.emplace(String(name.begin(), name.begin() + nameLength), textOf(data, bytes));
    }
    return SettingsReading(std::move(values), String());
}

// All values or none: the old values are read first and put back, or the new ones taken away again, when
// a write fails.
void SettingsStore::SaveSettings(const String& application, const String& section, const Values& values)
{
    const String path = keyPath(m_folder, application, section);
    Key key;
    if (const LSTATUS status =
            RegCreateKeyExW(HKEY_CURRENT_USER, win32::Wide(path), 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key.handle, nullptr);
        status != ERROR_SUCCESS)
        throw SettingsWriteError(u"The registry key " + quoted(path) + u" cannot be opened for writing: " +
                                 reasonOf(status));
    std::vector<std::optional<String>> before;
    before.reserve(values.size());
    for (const auto& [name, text] : values)
        before.push_back(readValue(key.handle, name));
    for (std::size_t i = 0; i < values.size(); ++i) {
        const LSTATUS status = writeValue(key.handle, values[i].first, values[i].second);
        if (status == ERROR_SUCCESS)
            continue;
        for (std::size_t undo = 0; undo < i; ++undo) {
            if (before[undo])
                writeValue(key.handle, values[undo].first, *before[undo]);
            else
                RegDeleteValueW(key.handle, win32::Wide(values[undo].first));
        }
        throw SettingsWriteError(u"Writing the setting " + values[i].first + u" to the registry key " +
                                 quoted(path) + u" failed: " + reasonOf(status));
    }
}

} // namespace wobblix::platform
