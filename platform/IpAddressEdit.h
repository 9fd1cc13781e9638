#pragma once

#include <QFrame>

#include <array>

class QLineEdit;

// An IPv4 address typed into four fields of 0 to 255. A dot or a third digit moves on to the
// next field.
class IpAddressEdit : public QFrame {
    Q_OBJECT
public:
    using Octets = std::array<int, 4>;

    explicit IpAddressEdit(QWidget* parent = nullptr);

    void setAddress(const Octets& octets);
    // An empty field reads as 0.
    Octets address() const;
    QLineEdit* field(int index) const { return fields_.at(static_cast<size_t>(index)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusField(int index);

    std::array<QLineEdit*, 4> fields_{};
};
