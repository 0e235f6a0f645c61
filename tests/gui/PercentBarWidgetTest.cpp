#include <gtest/gtest.h>

#include <QImage>

#include "PercentBarWidget.h"

namespace tarvik {
namespace {

// Colour of the middle row at a horizontal share of the bar's width.
QColor PixelAt(const QImage& image, double share) {
  return image.pixelColor(static_cast<int>(image.width() * share), image.height() / 2);
}

TEST(PercentBarWidgetTest, FillsItsShareInBlackOverSilver) {
  PercentBarWidget bar;
  bar.resize(200, 20);
  const struct {
    double fraction;
    double probe;
    QColor expected;
  } cases[] = {
      {0.0, 0.1, QColor(Qt::lightGray)},
      {0.5, 0.1, QColor(Qt::black)},
      {0.5, 0.9, QColor(Qt::lightGray)},
      {1.0, 0.9, QColor(Qt::black)},
  };
  for (const auto& c : cases) {
    bar.SetProgress(c.fraction, static_cast<int>(c.fraction * 100));
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(PixelAt(image, c.probe), c.expected) << c.fraction << " at " << c.probe;
  }
}

}  // namespace
}  // namespace tarvik
