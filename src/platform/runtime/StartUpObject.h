// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace wobblix::platform {

// What the runtime starts when the program starts: its start-up window, which raises its own Load and
// then shows itself (controls/Form).
class StartUpObject {
public:
    virtual ~StartUpObject() = default;
    virtual void startUp() = 0;
};

} // namespace wobblix::platform
