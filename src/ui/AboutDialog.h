// The about box, laid out from its resource in dialog units.
#pragma once

class QDialog;
class QWidget;

namespace zavio {

QDialog* CreateAboutDialog(QWidget* parent);

}  // namespace zavio
