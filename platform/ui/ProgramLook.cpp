#include "platform/ui/ProgramLook.h"

#include <QApplication>
#include <QFont>

namespace ui {

void applyProgramLook()
{
    // The one font of the program: other CJK fonts pick other glyph shapes.
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
}

} // namespace ui
