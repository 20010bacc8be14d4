#include "qt/dialogbuilder.h"

#include "qt/artworkpixmap.h"
#include "qt/droplist.h"
#include "qt/linklabel.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>

namespace {
// When the template's face is missing: the face whose letters come closest
// in width to it, so that texts fill their boxes as intended; then whatever
// sans-serif face the system prefers.
const char* const kFallbackFaces[] = {"DejaVu Sans Condensed"};

Qt::Alignment TextAlignment(std::uint32_t style)
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (style & kStyleAlignCenter)
        horizontal = Qt::AlignHCenter;
    else if (style & kStyleAlignRight)
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

QWidget* MakeLabel(QWidget* parent, const ControlTemplate& item)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromLatin1(item.text));
    label->setAlignment(TextAlignment(item.style));
    label->setWordWrap(true);
    return label;
}

QWidget* MakeLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* MakeImage(QWidget* parent, const QPixmap& pixmap)
{
    auto* image = new QLabel(parent);
    image->setAlignment(Qt::AlignCenter);
    image->setPixmap(pixmap);
    return image;
}

QWidget* MakeEdit(QWidget* parent, const ControlTemplate& item)
{
    auto* edit = new QLineEdit(parent);
    edit->setText(QString::fromLatin1(item.text));
    edit->setReadOnly((item.style & kStyleReadOnly) != 0);
    return edit;
}

QWidget* MakeButton(QWidget* parent, const ControlTemplate& item)
{
    auto* button = new QPushButton(QString::fromLatin1(item.text), parent);
    button->setAutoDefault(true);
    button->setDefault((item.style & kStyleDefaultButton) != 0);
    return button;
}

QWidget* MakeRadio(QWidget* parent, const ControlTemplate& item, QButtonGroup*& group)
{
    auto* radio = new QRadioButton(QString::fromLatin1(item.text), parent);
    radio->setAutoExclusive(false);
    if (group == nullptr || (item.style & kStyleGroup) != 0) {
        group = new QButtonGroup(parent);
        group->setExclusive(true);
    }
    group->addButton(radio, item.id);
    return radio;
}
} // namespace

QFont DialogFont(const DialogTemplate& dialog)
{
    QFont font;
    const QString face = QString::fromLatin1(dialog.fontName);
    font.setFamily(face);
    if (!QFontDatabase::hasFamily(face)) {
        font.setStyleHint(QFont::SansSerif);
        for (const char* fallback : kFallbackFaces) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(fallback))) {
                font.setFamily(QString::fromLatin1(fallback));
                break;
            }
        }
    }
    font.setPointSize(dialog.fontPointSize);
    return font;
}

int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogBaseUnits MeasureBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const DialogRect& rect, const DialogBaseUnits& units)
{
    return {MulDivRound(rect.x, units.charWidth, 4), MulDivRound(rect.y, units.charHeight, 8),
            MulDivRound(rect.width, units.charWidth, 4), MulDivRound(rect.height, units.charHeight, 8)};
}

QRect FitOneLineLabel(QLabel& label, QRect area)
{
    const QFontMetrics metrics(label.font());
    if (area.height() >= 2 * metrics.lineSpacing())
        return area;
    label.setWordWrap(false);
    const int extra = metrics.horizontalAdvance(label.text()) - area.width();
    if (extra <= 0)
        return area;
    if (label.alignment() & Qt::AlignRight)
        area.setLeft(area.left() - extra);
    else if (label.alignment() & Qt::AlignHCenter)
        area.adjust(-extra / 2, 0, extra - extra / 2, 0);
    else
        area.setRight(area.right() + extra);
    return area;
}

QString ControlName(int id) { return QString::number(id); }

QWidget* DialogItem(const QWidget& dialog, int id)
{
    return dialog.findChild<QWidget*>(ControlName(id), Qt::FindDirectChildrenOnly);
}

DialogBaseUnits BuildDialog(QDialog& dialog, const DialogTemplate& layout, const OwnerDrawnListFactory& ownerDrawnList)
{
    const QFont font = DialogFont(layout);
    dialog.setFont(font);
    const DialogBaseUnits units = MeasureBaseUnits(font);

    dialog.setWindowTitle(QString::fromLatin1(layout.caption));
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (layout.style & kDialogCloseBox)
        flags |= Qt::WindowCloseButtonHint;
    if (layout.style & kDialogContextHelp)
        flags |= Qt::WindowContextHelpButtonHint;
    dialog.setWindowFlags(flags);
    dialog.setWindowIcon(ArtworkIcon(kProgramIconId));
    dialog.setFixedSize(DialogUnitsToPixels({0, 0, layout.width, layout.height}, units).size());
    dialog.setSizeGripEnabled(false);

    QButtonGroup* radioGroup = nullptr;
    for (int index = 0; index < layout.controlCount; ++index) {
        const ControlTemplate& item = layout.controls[index];
        QWidget* widget = nullptr;
        switch (item.kind) {
        case ControlKind::Label:
            widget = MakeLabel(&dialog, item);
            break;
        case ControlKind::Line:
            widget = MakeLine(&dialog);
            break;
        case ControlKind::Picture:
            widget = MakeImage(&dialog, ArtworkBitmap(item.resource));
            break;
        case ControlKind::Icon:
            widget = MakeImage(&dialog, ArtworkIcon(item.resource).pixmap(48, 48));
            break;
        case ControlKind::Edit:
            widget = MakeEdit(&dialog, item);
            break;
        case ControlKind::PushButton:
            widget = MakeButton(&dialog, item);
            break;
        case ControlKind::Radio:
            widget = MakeRadio(&dialog, item, radioGroup);
            break;
        case ControlKind::DropList: {
            QComboBox* list = nullptr;
            if ((item.style & kStyleOwnerDraw) && ownerDrawnList)
                list = ownerDrawnList(&dialog);
            if (list == nullptr)
                list = new DropList(&dialog);
            widget = list;
            break;
        }
        case ControlKind::Link: {
            auto* link = new LinkLabel(QString::fromLatin1(item.text), &dialog);
            link->setWordWrap(true);
            link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = link;
            break;
        }
        }
        if (item.kind != ControlKind::Radio)
            radioGroup = nullptr;

        widget->setObjectName(item.id == kNoControlId ? QStringLiteral("static%1").arg(index) : ControlName(item.id));
        QRect area = DialogUnitsToPixels(item.rect, units);
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            // The template gives the height of the dropped-down list; the
            // closed box takes the height its items need.
            if (auto* dropList = dynamic_cast<DropList*>(list))
                dropList->setDroppedHeight(area.height());
            area.setHeight(list->sizeHint().height());
        }
        if (item.kind == ControlKind::Label)
            area = FitOneLineLabel(*static_cast<QLabel*>(widget), area);
        widget->setGeometry(area);

        const bool visible = (item.style & kStyleVisible) != 0;
        if (!visible) {
            widget->setFocusPolicy(Qt::NoFocus);
        } else if (item.style & kStyleTabStop) {
            widget->setFocusPolicy(Qt::StrongFocus);
        } else if (item.kind == ControlKind::Radio) {
            widget->setFocusPolicy(Qt::ClickFocus);
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        widget->setVisible(visible);
    }
    return units;
}
