// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/controls/Control.h"
#include "platform/runtime/StartUpObject.h"
#include "platform/runtime/Types.h"

#include <functional>
#include <memory>
#include <vector>

namespace wobblix::platform {

// A fixed-size top-level window with a menu bar and a client area laid out in twips. It has no Minimize
// or Maximize button; the title bar's close button unloads it like Unload(), and the program ends when
// it is unloaded, whether shown or hidden. Hidden and shown again, it gives the focus back to the control
// that had it, or to the first control in the tab order when none had, as a window given the focus does
// on the desktop. It owns everything added to it.
class Form : public StartUpObject {
public:
    explicit Form(String name);
    ~Form() override;

    const String& Name() const { return m_name; }
    WindowHandle hWnd() const;

    // Start-up: raises Load, then shows the window centred on the screen and gives the focus to the first
    // control in the tab order.
    void startUp() override;

    // Unloads the window; with no window left the program ends with status 0.
    void Unload();

    bool Visible() const;
    // Shows or hides the window; shown again, the focus goes where it was (see above).
    void setVisible(bool visible);

    void setCaption(const String& caption);
    // The window's icon, by the name of a picture resource of the program.
    void setIcon(StringView resource);
    // The client area's size in twips, below the menu bar.
    void setClientSize(Long width, Long height);
    void setBackColor(Long colour);

    // Creates an object of the form: a control (`Args`: its container, or nullptr for the client area, and
    // its name), a timer or a menu item.
    template <typename T, typename... Args> T& Add(Args&&... args)
    {
        auto object = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& added = *object;
        m_objects.push_back(std::move(object));
        return added;
    }
    // The object of that name and class, or none.
    template <typename T> T* Find(StringView name) const
    {
        for (const auto& object : m_objects)
            if (auto* found = dynamic_cast<T*>(object.get()); found != nullptr && object->Name() == name)
                return found;
        return nullptr;
    }

    // Runs `task` from the message loop, once the event being handled, and start-up, are over: what
    // belongs over the shown window.
    void Later(std::function<void()> task);

    struct Native; // the backend's top-level window
    Native& native() const { return *m_native; }

protected:
    // The Load event, raised by startUp() before the window is shown.
    virtual void Load() {}

private:
    friend class Control;
    String m_name;
    // The window first, so that it outlives what lies on it.
    std::unique_ptr<Native> m_native;
    std::vector<std::unique_ptr<Object>> m_objects;
};

} // namespace wobblix::platform
