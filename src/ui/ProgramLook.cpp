#include "ui/ProgramLook.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QProxyStyle>

namespace zv {
namespace {

// The application's style, except that a combo box's list is a drop-down of limited height.
class ListHeightStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

QFont ProgramFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPointSize(9);
  return font;
}

void ApplyProgramFont() {
  const QFont font = ProgramFont();
  QApplication::setFont(font);
  // Classes a platform theme may give a font of their own.
  for (const char* name : {"QMenu",
                           "QMenuBar",
                           "QComboMenuItem",
                           "QMessageBox",
                           "QMessageBoxLabel",
                           "QTipLabel",
                           "QPushButton",
                           "QToolButton",
                           "QCheckBox",
                           "QRadioButton",
                           "QAbstractItemView",
                           "QHeaderView",
                           "QLabel",
                           "QLineEdit",
                           "QTextEdit",
                           "QGroupBox",
                           "QDialogButtonBox"})
    QApplication::setFont(font, name);
}

void KeepListHeight(QComboBox* box) {
  // One style for all boxes, made on first use and living with the application.
  static QPointer<ListHeightStyle> style;
  if (!style) {
    style = new ListHeightStyle(QApplication::style()->name());
    style->setParent(qApp);
  }
  box->setStyle(style);
}

}  // namespace zv
