#pragma once

#include <QPlainTextEdit>

namespace parlix {

// The message text box. Its text is counted as the SMS carry it: a line break
// is CR LF, two characters. An optional limit stops what the user types or
// pastes; text set by the program (a preset, an emoticon) is not limited.
class MessageTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MessageTextEdit(QWidget* parent = nullptr);

    // The text with CR LF line breaks, as it is sent and stored.
    QString messageText() const;
    void setMessageText(const QString& text);
    // Appends `text` and puts the caret at the end.
    void appendAtEnd(const QString& text);
    int messageLength() const;

    // 0: no limit.
    void setMaxLength(int length) { maxLength_ = length; }
    int maxLength() const { return maxLength_; }

    static int messageLength(const QString& plainText);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters may still be typed in place of the selection.
    int room() const;

    int maxLength_ = 0;
};

} // namespace parlix
