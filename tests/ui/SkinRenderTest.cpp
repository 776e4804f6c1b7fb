#include "SkinRender.h"

#include "skin/SkinLayout.h"

#include <QFile>

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <string>

namespace zv {
namespace {

QByteArray Svg(const char* body, int width = 20, int height = 20) {
  return QStringLiteral(
             R"(<svg xmlns="http://www.w3.org/2000/svg" width="%1" height="%2" viewBox="0 0 %1 %2">%3</svg>)")
      .arg(width)
      .arg(height)
      .arg(QString::fromUtf8(body))
      .toUtf8();
}

const SkinRenderRules kSmall{20, 20, false};
constexpr QRgb kKey = qRgb(2, 4, 8);

struct BadArtwork {
  const char* name;
  QByteArray svg;
  const char* message;  // part of the error that names the broken rule
};

class SkinRenderRejects : public ::testing::TestWithParam<BadArtwork> {};

TEST_P(SkinRenderRejects, NamesTheBrokenRule) {
  const SkinRenderResult result = RenderSkin(GetParam().svg, kSmall);
  ASSERT_FALSE(result.ok());
  EXPECT_TRUE(result.errors.join(QLatin1Char('\n')).contains(QString::fromUtf8(GetParam().message)))
      << result.errors.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Artworks, SkinRenderRejects,
    ::testing::Values(
        BadArtwork{"notXml", "<svg", "not well-formed"},
        BadArtwork{"wrongSize",
                   Svg(R"svg(<path id="outline" fill="#808080" d="M 2,2 H 18 V 18 H 2 Z"/>)svg", 30, 20),
                   "must be 20 x 20"},
        BadArtwork{"noOutline", Svg(R"svg(<path fill="#808080" d="M 2,2 H 18 V 18 H 2 Z"/>)svg"), "no element with id"},
        BadArtwork{
            "openOutline", Svg(R"svg(<path id="outline" fill="#808080" d="M 2,2 H 18 V 18 H 2"/>)svg"), "not closed"},
        BadArtwork{"openFirstSubpath",
                   Svg(R"svg(<path id="outline" fill="#808080" d="M 2,2 H 9 V 9 M 11,11 H 18 V 18 Z"/>)svg"),
                   "not closed"},
        BadArtwork{"gradientFill",
                   Svg(R"svg(<defs><linearGradient id="g"><stop offset="0" stop-color="#fff"/></linearGradient></defs>
                          <path id="outline" fill="url(#g)" d="M 2,2 H 18 V 18 H 2 Z"/>)svg"),
                   "plain #rrggbb"},
        BadArtwork{"keyFill",
                   Svg(R"svg(<path id="outline" fill="#020408" d="M 2,2 H 18 V 18 H 2 Z"/>)svg"),
                   "fill is the key colour"},
        BadArtwork{"strokedOutline",
                   Svg(R"svg(<path id="outline" fill="#808080" stroke="#000000" d="M 2,2 H 18 V 18 H 2 Z"/>)svg"),
                   "must not carry \"stroke\""},
        BadArtwork{"keyColourInside",
                   Svg(R"svg(<path id="outline" fill="#808080" d="M 2,2 H 18 V 18 H 2 Z"/>
                          <rect x="6" y="6" width="3" height="2" fill="#020408"/>)svg"),
                   "6 pixel(s) inside the shape have the key colour"},
        BadArtwork{"twoPieces",
                   Svg(R"svg(<path id="outline" fill="#808080" d="M 1,1 H 8 V 8 H 1 Z M 11,11 H 19 V 19 H 11 Z"/>)svg"),
                   "falls apart into 2 pieces"},
        BadArtwork{
            "hole",
            Svg(R"svg(<path id="outline" fill="#808080" fill-rule="evenodd" d="M 1,1 H 19 V 19 H 1 Z M 6,6 H 14 V 14 H 6 Z"/>)svg"),
            "has a hole"},
        BadArtwork{"emptyShape",
                   Svg(R"svg(<path id="outline" fill="#808080" d="M 2,2 H 2.2 V 2.2 Z"/>)svg"),
                   "covers no pixel"}),
    zv::test::RowName{});

// A disc on a 20 x 20 canvas: antialiasing must not leave a fringe between the shape's colour
// and the key colour. Every pixel is either exactly the key colour or exactly the disc's.
TEST(SkinRender, EdgesBlendTowardTheInsideNeverTowardTheKey) {
  const SkinRenderResult result =
      RenderSkin(Svg(R"svg(<path id="outline" fill="#c08040" d="M 10,1 A 9,9 0 1 1 9.99,1 Z"/>)svg"), kSmall);
  ASSERT_TRUE(result.ok()) << result.errors.join(QLatin1Char('\n')).toStdString();
  ASSERT_EQ(result.image.format(), QImage::Format_RGB888);
  int inside = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const QRgb c = result.image.pixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(c == (kKey & 0xFFFFFF) || c == 0xc08040) << x << "," << y << " " << std::hex << c;
      inside += c == 0xc08040 ? 1 : 0;
    }
  EXPECT_EQ(result.image.pixel(0, 0) & 0xFFFFFF, kKey & 0xFFFFFF);
  EXPECT_EQ(result.image.pixel(10, 10) & 0xFFFFFF, 0xc08040u);
  EXPECT_NEAR(inside, 254, 12);  // about pi * 9 * 9: half-covered pixels split both ways
}

QByteArray RealArtwork() {
  QFile file(QStringLiteral(ZV_SKIN_SVG));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

TEST(SkinRender, TheShippedArtworkKeepsEveryRuleAndItsPngHasNoAlpha) {
  const SkinRenderResult result = RenderSkin(RealArtwork());
  ASSERT_TRUE(result.ok()) << result.errors.join(QLatin1Char('\n')).toStdString();
  const QImage png = QImage::fromData(EncodeSkinPng(result.image), "PNG");
  EXPECT_EQ(png.size(), QSize(skin::kWidth, skin::kHeight));
  EXPECT_FALSE(png.hasAlphaChannel());
  EXPECT_EQ(png.pixel(0, 0) & 0xFFFFFF, kKey & 0xFFFFFF);
  EXPECT_EQ(png.convertToFormat(QImage::Format_RGB888), result.image);
}

// A decoration dropped where a panel takes its colour is caught before it reaches the window.
TEST(SkinRender, ArtworkUnderASamplingPointMustStayFlat) {
  QByteArray svg = RealArtwork();
  svg.replace("</svg>", R"(<rect x="20" y="190" width="2" height="2" fill="#ff0000"/></svg>)");
  const SkinRenderResult result = RenderSkin(svg);
  EXPECT_TRUE(result.errors.join(QLatin1Char('\n')).contains(QStringLiteral("TaskPanel takes its colour at (20, 190)")))
      << result.errors.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace zv
