// The input-filter edits used for numbers on every page: TSPITEdit (an edit with an
// alignment), THexEdit (hexadecimal digits only) and TIntEdit (decimal digits only).
#pragma once

#include <QLineEdit>
#include <QString>

namespace nivra::ui {

// Value rules, shared by the edits and testable without widgets.
namespace hex_text {
bool accepts(QChar typed);            // backspace or one of 0-9 a-f A-F
long long valueOf(const QString& text);  // empty reads as 0
QString textOf(long long value);        // 0 or less gives an empty text
}  // namespace hex_text
namespace int_text {
bool accepts(QChar typed);            // backspace or one of 0-9
long long valueOf(const QString& text);
QString textOf(long long value);
}  // namespace int_text

class TSPITEdit : public QLineEdit {
public:
    explicit TSPITEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
};

class THexEdit : public TSPITEdit {
public:
    explicit THexEdit(QWidget* parent = nullptr);
    bool isFilter() const { return filter_; }
    void setIsFilter(bool on) { filter_ = on; }
    long long value() const { return hex_text::valueOf(text()); }
    void setValue(long long v) { setText(hex_text::textOf(v)); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool filter_ = true;
};

class TIntEdit : public TSPITEdit {
public:
    explicit TIntEdit(QWidget* parent = nullptr);
    long long value() const { return int_text::valueOf(text()); }
    void setValue(long long v) { setText(int_text::textOf(v)); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace nivra::ui
