#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;

namespace corvale {

// "Foto": a small window that stays on top of the article archive and shows
// the photo of the selected article while the shop wants photos shown.
class TFFoto : public QWidget {
    Q_OBJECT
public:
    explicit TFFoto(QWidget *parent = nullptr);

    // Shows the JPEG `bytes`; an empty or unreadable photo leaves the frame blank.
    void showPhoto(const QByteArray &bytes);
    bool hasPicture() const;

    static constexpr int photoWidth = 240;
    static constexpr int photoHeight = 180;

private:
    QLabel *m_picture;
};

} // namespace corvale
