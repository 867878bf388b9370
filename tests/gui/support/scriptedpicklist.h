#pragma once

// A pick list for tests: answers from a prepared list and records what was asked.

#include "gui/common/pagecontext.h"

#include <QList>

#include <cstdint>

namespace tarnwick::testing {

class ScriptedPickList : public gui::PickList {
public:
    int ShowPickList(core::PickMode mode) override
    {
        modes.append(mode);
        statesSeen.append(typeSeen ? *typeSeen : -1);
        return answers.isEmpty() ? core::kPickCancelled : answers.takeFirst();
    }
    QList<int> answers;
    QList<core::PickMode> modes;
    QList<int> statesSeen; // the formation type seen when the list opened
    const std::uint8_t* typeSeen = nullptr;
};

} // namespace tarnwick::testing
