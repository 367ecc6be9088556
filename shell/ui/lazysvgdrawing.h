// SVG drawing taken from the SVG module at the first picture it draws.
#pragma once

#include "shell/platform/embeddedmodule.h"
#include "shell/ui/svgdrawing.h"

namespace zel {

// A module that cannot be opened draws nothing: the picture stays empty.
class LazySvgDrawing : public ISvgDrawing {
public:
    explicit LazySvgDrawing(EmbeddedModule& module);

    QImage draw(const QString& file, const QSize& size) override;

private:
    ModuleObject<ISvgDrawing> m_drawing;
};

} // namespace zel
