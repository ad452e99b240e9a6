#pragma once
// The line under the value labels that says where the report went. The finished window
// keeps its size and the chart its place, so the line takes whatever is left below the
// value labels: it wraps, at word boundaries where it can and inside a long folder name
// where it must, and steps its text down to a smaller size before it would cut anything.

#include "widgets/clickable_label.h"

class ResultsLine : public ClickableLabel
{
    Q_OBJECT

public:
    using ClickableLabel::ClickableLabel;

    // The text for a report written to `path`: the file's name, then the folder it is in.
    static QString reportLocationText(const QString &path);

    // The smallest text the line steps down to; below it a line would be hard to read.
    static constexpr int kSmallestPixelSize = 9;

    // Whether the whole text fits the line at a readable size.
    bool showsWholeText() const;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QFont fittedFont() const;
    bool fits(const QFont &font) const;
    void fillRestOfParent();
};
