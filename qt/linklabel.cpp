#include "qt/linklabel.h"

#include <QFocusEvent>
#include <QRegularExpression>

QString LinkMarkupToRichText(const QString& markup, QStringList& urls)
{
    static const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"]*)\"\\s*>(.*?)</a>"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString html;
    qsizetype done = 0;
    for (auto match = link.globalMatch(markup); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        html += markup.mid(done, found.capturedStart() - done).toHtmlEscaped();
        html += QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(found.captured(1).toHtmlEscaped(), found.captured(2).toHtmlEscaped());
        urls.append(found.captured(1));
        done = found.capturedEnd();
    }
    html += markup.mid(done).toHtmlEscaped();
    return html;
}

LinkLabel::LinkLabel(const QString& markup, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setText(LinkMarkupToRichText(markup, urls_));
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(this, &QLabel::linkActivated, this, [this](const QString& url) {
        const int index = static_cast<int>(urls_.indexOf(url));
        emit linkTriggered(index < 0 ? 0 : index, url);
    });
}

void LinkLabel::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    // Tabbing in lands on the first link (backwards: the last), so that one
    // Tab reaches the link and Enter opens it, as with the platform's link
    // control; the next Tab leaves the label.
    if (event->reason() == Qt::TabFocusReason)
        QLabel::focusNextPrevChild(true);
    else if (event->reason() == Qt::BacktabFocusReason)
        QLabel::focusNextPrevChild(false);
}
