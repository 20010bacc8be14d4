#pragma once

#include <QLabel>
#include <QStringList>

// A text with links in the markup of the dialog template
// ("... <a href=\"URL\">text</a> ..."). A click on a link, or Enter while a
// link has the keyboard focus, reports that link once; nothing is opened
// here. Tab moves the focus onto the link itself.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& markup, QWidget* parent = nullptr);

    // The targets of the links, in the order they appear in the text.
    const QStringList& urls() const { return urls_; }

signals:
    // A link was activated: its 0-based place in the text and its target.
    void linkTriggered(int index, const QString& url);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QStringList urls_;
};

// The markup as rich text for a label: the text between links escaped, the
// links kept. The targets are appended to urls.
QString LinkMarkupToRichText(const QString& markup, QStringList& urls);
