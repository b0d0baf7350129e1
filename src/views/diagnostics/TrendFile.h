#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The trends of one kind as the trend view keeps them and its ".tnd" files hold them: the y
// values of the four spans (day, month, year, 25 years); a point's x is its index.
//
// A file is 8-bit text, lines ended by a line feed, columns separated by tabs: the kind's title,
// the column heads, then 31 rows, row r holding x and y of point r of each span in turn (an
// empty pair where a span is shorter). Numbers have up to six significant digits.
struct STrendFile {
    static constexpr std::array<int, 4> kPoints{24, 31, 12, 25};
    static constexpr int kRows = 31;
    // What a reader takes at most before it calls a file malformed.
    static constexpr int kMaxRows = 32;
    static constexpr int kMaxFieldLength = 72;

    QString title;
    std::array<std::vector<double>, 4> y;

    // "Position Trend [%]", "Deviation Trend [%]" or "Friction Trend [kPa]" for kinds 0 to 2.
    static QString TitleOf(int kind);
    // The kind of a title, or -1.
    static int KindOf(const QString& title);

    QByteArray ToText() const;
    // The content of `text`, or nothing and a message naming the line at fault: a field longer
    // than 72 characters, more than 32 rows, a y that is not a number where the span has a
    // point, a file that ends before its rows, or bytes that are no text.
    static std::optional<STrendFile> FromText(const QByteArray& text, QString& error);
};
