// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/runtime/Types.h"

#include <memory>
#include <utility>

namespace wobblix::platform {

class Form;
class PictureBox;

// A font as a control's Font property gives it. Weight 400 is normal, 700 bold.
struct Font {
    String name;
    Single size = 8; // points
    Integer weight = 400;
    bool italic = false;
};

// Everything a form holds, found on it by its name: a control, a timer or a menu item. The form owns it.
class Object {
public:
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const String& Name() const { return m_name; }

protected:
    Object(Form& form, String name) : m_form(form), m_name(std::move(name)) {}
    Form& form() const { return m_form; }

private:
    Form& m_form;
    String m_name;
};

// A control that is a window of its own on the form: its position and size in twips inside its
// container (a picture box, or the form's client area), drawn in its colours and font, and visited by Tab
// in the order of the tab indices.
class Control : public Object {
public:
    static constexpr Integer NoTabIndex = -1;

    // What a control is made with: where it lies, in twips from its container's inside edge, what it first
    // shows (the caption of a command button, check box or label; the other controls have none), its
    // place in the tab order, and whether it starts enabled and visible. Given at creation, a control's
    // window is made once, in its place and state, rather than made and then changed: under Wine each
    // change of a window is a round trip to its server, and the window's start-up is mostly its controls.
    struct Description {
        Long left = 0, top = 0, width = 0, height = 0;
        Integer tabIndex = NoTabIndex;
        String caption;
        bool enabled = true;
        bool visible = true;
    };

    ~Control() override;

    WindowHandle hWnd() const;
    // The picture box the control lies on, or none for the form's client area.
    PictureBox* Container() const { return m_container; }

    // Position and size in twips, from the container's inside edge.
    void Move(Long left, Long top, Long width, Long height);
    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);
    void setBackColor(Long colour);
    void setForeColor(Long colour);
    void setFont(const Font& font);
    // Tab visits the controls that take the focus from the lowest tab index up and then starts again; the
    // form opens with the focus on the first.
    Integer TabIndex() const { return m_tabIndex; }
    // What a screen reader calls a control whose caption does not say it.
    void setAccessibleName(const String& name);

    struct Native; // the backend's window behind the control
    Native& native() const { return *m_native; }

protected:
    Control(Form& form, PictureBox* container, String name, const Description& description,
            std::unique_ptr<Native> native);

private:
    PictureBox* m_container = nullptr;
    Integer m_tabIndex = NoTabIndex;
    std::unique_ptr<Native> m_native;
};

} // namespace wobblix::platform
