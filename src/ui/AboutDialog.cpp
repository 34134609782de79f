#include "ui/AboutDialog.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "res/Resources.h"
#include "ui/AppIcon.h"

namespace zavio {
namespace {

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Dialog units: a quarter of the font's average letter width across (the
// Latin alphabet's, as dialog templates measure it), an eighth of its height
// down.
QRect ToPixels(const QFontMetrics& metrics, int x, int y, int w, int h)
{
    static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int cx = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    const int cy = metrics.height();
    return {x * cx / 4, y * cy / 8, w * cx / 4, h * cy / 8};
}

}  // namespace

QDialog* CreateAboutDialog(QWidget* parent)
{
    const res::DialogResource& resource = res::AboutBox();
    auto* dialog = new QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setObjectName(QStringLiteral("aboutBox"));
    dialog->setWindowTitle(Text(resource.caption));
    QFont font(Text(resource.fontName), resource.pointSize);
    font.setFamilies({Text(resource.fontName), QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("Noto Sans CJK JP")});
    dialog->setFont(font);
    const QFontMetrics metrics(font);
    for (const res::DialogControl& control : resource.controls) {
        const QRect rect = ToPixels(metrics, control.x, control.y, control.width, control.height);
        switch (control.kind) {
            case res::DialogControl::Icon: {
                auto* icon = new QLabel(dialog);
                const int side = qMax(32, rect.width());
                icon->setPixmap(AppIcon().pixmap(side, side));
                icon->setGeometry(rect.x(), rect.y(), side, side);
                break;
            }
            case res::DialogControl::Text: {
                auto* label = new QLabel(Text(control.text), dialog);
                label->setGeometry(rect.x(), rect.y(), qMax(rect.width(), label->sizeHint().width()), rect.height());
                break;
            }
            case res::DialogControl::DefaultButton: {
                auto* button = new QPushButton(Text(control.text), dialog);
                button->setGeometry(rect);
                button->setDefault(true);
                QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
                break;
            }
        }
    }
    const QRect size = ToPixels(metrics, 0, 0, resource.width, resource.height);
    dialog->setFixedSize(size.width(), size.height());
    return dialog;
}

}  // namespace zavio
