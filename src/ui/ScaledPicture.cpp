#include "ScaledPicture.h"

#include <QImageReader>
#include <QPainter>

ScaledPicture::ScaledPicture(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setMinimumSize(120, 90);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScaledPicture::setPicture(const QString &filePath)
{
    QImageReader reader(filePath);
    reader.setAutoTransform(true);
    m_original = reader.read();
    rescale();
    emit pictureChanged(isShowingPicture());
}

void ScaledPicture::clear()
{
    m_original = QImage();
    rescale();
    emit pictureChanged(false);
}

QRect ScaledPicture::pictureRect() const
{
    if (m_scaled.isNull())
        return {};
    QRect r(QPoint(0, 0), m_scaled.size());
    r.moveCenter(rect().center());
    return r;
}

void ScaledPicture::rescale()
{
    if (m_original.isNull() || width() <= 0 || height() <= 0) {
        m_scaled = QPixmap();
    } else if (m_original.width() <= width() && m_original.height() <= height()) {
        m_scaled = QPixmap::fromImage(m_original);
    } else {
        m_scaled = QPixmap::fromImage(m_original.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    update();
}

void ScaledPicture::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rescale();
}

void ScaledPicture::paintEvent(QPaintEvent *)
{
    if (m_scaled.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(pictureRect(), m_scaled);
}
