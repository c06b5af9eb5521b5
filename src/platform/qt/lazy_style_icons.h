// The desktop's style, but the two "more" arrows of a menu bar or tool bar
// too narrow for its entries are only read when such a button is drawn.
// A menu bar asks for one as it is made, and Qt reads its image file with
// the format left open: every image plugin installed is loaded to look at
// it, with its libraries, though the arrow is seldom ever seen.
#pragma once

#include <QProxyStyle>

namespace qx::qt {

class LazyStyleIcons final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace qx::qt
