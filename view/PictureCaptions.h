#pragma once
// The names and captions of saved pictures and of the printed grid, and the
// white caption strip both carry below the picture.

#include <QImage>
#include <QString>
#include <vector>

// "3_ [17] [5] [2001] 14-7-9250.bmp" in folder: the camera number (1..32),
// the day, month and year, the hour, minute, and seconds x 1000 plus
// milliseconds of time, all without leading zeros, and the suffix. folder
// ends with its separator.
QString PictureFileName(const QString& folder, int camera, double time,
                        const QString& suffix = QStringLiteral("bmp"));

// "Камера №3  17.05.2001 14:07:09": the short date and the long time of the
// installed regional formats; the time is left out when hours, minutes and
// seconds are all zero, and milliseconds are never shown.
QString PictureCaption(int camera, double time);

// "<title>  Камера(ы) - 1,2,5,": the window caption and the numbers of the
// cameras shown, each followed by a comma.
QString PrintCaption(const QString& title, const std::vector<int>& cameras);

// Makes image stripHeight rows higher, 24 bits per pixel, with a white strip
// at the bottom and text drawn at the strip's top left in black, Arial of
// pointSize points (at least 1) reckoned at 96 dots per inch. A null image
// stays null.
void AddCaptionStrip(QImage& image, int stripHeight, const QString& text, int pointSize);
