// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/runtime/win32/Apartment.h"

#include "platform/runtime/win32/SystemLibrary.h"

#include <ole2.h>

namespace wobblix::platform::win32 {

namespace {

// COM's library, loaded when the apartment is first entered.
template <typename Function> Function ole32(const char* name)
{
    return LibraryFunction<Function>(L"ole32.dll", name);
}

// What this thread has entered, each to be left once.
bool com = false;
bool ole = false;

} // namespace

bool EnterApartment(Apartment needed)
{
    if (needed == Apartment::Ole && !ole) {
        static const auto oleInitialize = ole32<decltype(&::OleInitialize)>("OleInitialize");
        ole = oleInitialize != nullptr && SUCCEEDED(oleInitialize(nullptr));
    }
    if (!ole && !com) {
        static const auto coInitializeEx = ole32<decltype(&::CoInitializeEx)>("CoInitializeEx");
        com = coInitializeEx != nullptr && SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    return needed == Apartment::Ole ? ole : ole || com;
}

// OLE's leave also leaves the COM it entered; a COM entered before it is left on its own.
void LeaveApartment()
{
    if (ole) {
        static const auto oleUninitialize = ole32<decltype(&::OleUninitialize)>("OleUninitialize");
        oleUninitialize();
        ole = false;
    }
    if (com) {
        static const auto coUninitialize = ole32<decltype(&::CoUninitialize)>("CoUninitialize");
        coUninitialize();
        com = false;
    }
}

HRESULT CreateInstance(REFCLSID server, REFIID iid, void** object)
{
    *object = nullptr;
    if (!EnterApartment(Apartment::Com))
        return CO_E_NOTINITIALIZED;
    static const auto coCreateInstance = ole32<decltype(&::CoCreateInstance)>("CoCreateInstance");
    return coCreateInstance(server, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

} // namespace wobblix::platform::win32
