#include "CutTexts.h"

#include "Wnd.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>
#include <climits>

namespace {
QSize TextSize(const QWidget& widget, const QString& text)
{
    return widget.fontMetrics().size(Qt::TextShowMnemonic, text);
}

// The room a check box or radio button leaves its label beside the indicator, with the
// margin of its focus frame.
QSize NeededByIndicatorButton(const QAbstractButton& button)
{
    return QSize(button.sizeHint().width(), TextSize(button, button.text()).height());
}

// The label and the button's margin and frame on both sides, as the style adds them before
// it rounds a push button up to its least width.
QSize NeededByPushButton(const QPushButton& button)
{
    const QStyle* style = button.style();
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
                       2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    const QSize text = TextSize(button, button.text());
    return QSize(text.width() + margin, text.height());
}

// Where the style puts the title of a group box, a blank after it included.
QSize NeededByGroupBox(const QGroupBox& group)
{
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.textAlignment = group.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    option.features = group.isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    const QRect title = group.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group);
    return QSize(title.right() + 1, TextSize(group, group.title()).height());
}

// A word-wrapped label may take more lines where it has the room for them; no word is broken.
// One line is as wide as the layer's text extent, the advance rounded to whole pixels.
QSize NeededByLabel(const QLabel& label)
{
    if (!label.wordWrap())
        return QSize(label.fontMetrics().horizontalAdvance(label.text()), label.fontMetrics().height());
    return label.fontMetrics()
        .boundingRect(QRect(0, 0, label.width(), INT_MAX), int(label.alignment()) | Qt::TextWordWrap, label.text())
        .size();
}

struct CMeasure
{
    const char* kind;
    QString text;
    QSize needed;
};

bool Measure(const QWidget& widget, CMeasure& measure)
{
    if (const auto* radio = qobject_cast<const QRadioButton*>(&widget))
        measure = {"radio button", radio->text(), NeededByIndicatorButton(*radio)};
    else if (const auto* check = qobject_cast<const QCheckBox*>(&widget))
        measure = {"check box", check->text(), NeededByIndicatorButton(*check)};
    else if (const auto* push = qobject_cast<const QPushButton*>(&widget))
        measure = {"push button", push->text(), NeededByPushButton(*push)};
    else if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        measure = {"group box", group->title(), NeededByGroupBox(*group)};
    else if (const auto* label = qobject_cast<const QLabel*>(&widget))
        measure = {"static text", label->text(), NeededByLabel(*label)};
    else
        return false;
    return !measure.text.isEmpty();
}

void Collect(const QWidget& widget, std::vector<std::string>& cut)
{
    CMeasure measure;
    if (Measure(widget, measure) &&
        (measure.needed.width() > widget.width() || measure.needed.height() > widget.height())) {
        const CWnd* pWnd = CWnd::FromWidget(&widget);
        cut.push_back(std::string(measure.kind) + " " + std::to_string(pWnd ? pWnd->GetDlgCtrlID() : -1) + " \"" +
                      measure.text.toStdString() + "\": needs " + std::to_string(measure.needed.width()) + " x " +
                      std::to_string(measure.needed.height()) + ", has " + std::to_string(widget.width()) + " x " +
                      std::to_string(widget.height()));
    }
    for (const QObject* child : widget.children()) {
        const auto* childWidget = qobject_cast<const QWidget*>(child);
        if (childWidget && !childWidget->isWindow() && !childWidget->isHidden())
            Collect(*childWidget, cut);
    }
}
} // namespace

std::vector<std::string> CutTexts(const CWnd& window)
{
    std::vector<std::string> cut;
    if (const QWidget* widget = window.GetWidget())
        Collect(*widget, cut);
    return cut;
}
