#pragma once

#include "host/PictureControl.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

// The attachment window's picture (object name "Image1"): the picture scaled to fit the widget
// with its aspect ratio kept and centred, scaled again whenever the widget is resized. A picture
// smaller than the widget is shown at its own size. Pictures are read with their orientation
// applied (photos carry it in their metadata).
class ScaledPicture : public QWidget, public PictureControl
{
    Q_OBJECT

public:
    explicit ScaledPicture(QWidget *parent = nullptr);

    // Reads the file at once; a file that is not a picture leaves the control empty.
    void setPicture(const QString &filePath) override;
    bool isShowingPicture() const override { return !m_original.isNull(); }
    void clear();

    // The picture as read, and where it is drawn inside the widget (empty without a picture).
    QImage original() const { return m_original; }
    QRect pictureRect() const;

signals:
    // The control went from empty to showing a picture or back.
    void pictureChanged(bool showing);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void rescale();

    QImage m_original;
    QPixmap m_scaled;
};
