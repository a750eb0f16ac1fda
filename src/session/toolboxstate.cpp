#include "session/toolboxstate.h"

#include <algorithm>

void ToolBoxState::setMode(Mode mode)
{
    if (mode < Shown || mode > Hidden)
        return;
    mMode = mode;
    Q_EMIT modeChanged();
}

void ToolBoxState::setPosition(QPoint twips)
{
    const auto fit = [](int value) { return std::clamp(value, -32768, 32767); };
    mPosition = QPoint(fit(twips.x()), fit(twips.y()));
}
