// Draws the program's pictures: the 16 x 16 glyph bitmaps 1-8 and 10 (16-colour, light gray
// background that the buttons replace by their face colour), the 256 x 256 logo (bitmap 9) and
// the application icon. Usage: zta_make_resources OUTDIR  (resources/gen/regenerate.sh runs it).
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using picture = std::vector<std::string>;

// The standard 16-colour palette; '.' is the light gray face colour.
struct pen_colour {
  char key;
  QRgb rgb;
};
const pen_colour palette16[] = {
    {'K', qRgb(0, 0, 0)},       {'r', qRgb(128, 0, 0)},     {'g', qRgb(0, 128, 0)},
    {'y', qRgb(128, 128, 0)},   {'b', qRgb(0, 0, 128)},     {'m', qRgb(128, 0, 128)},
    {'c', qRgb(0, 128, 128)},   {'.', qRgb(192, 192, 192)}, {'D', qRgb(128, 128, 128)},
    {'R', qRgb(255, 0, 0)},     {'L', qRgb(0, 255, 0)},     {'Y', qRgb(255, 255, 0)},
    {'B', qRgb(0, 0, 255)},     {'M', qRgb(255, 0, 255)},   {'C', qRgb(0, 255, 255)},
    {'W', qRgb(255, 255, 255)},
};

QList<QRgb> colour_table() {
  QList<QRgb> t;
  for (const auto& p : palette16) t.push_back(p.rgb);
  return t;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "make_resources: %s\n", what.c_str());
  std::exit(1);
}

int index_of(char key) {
  for (int i = 0; i < 16; ++i) {
    if (palette16[i].key == key) return i;
  }
  fail(std::string("unknown colour key '") + key + "'");
}

const picture question_mark = {
    "................", ".....bBBBBb.....", "....BBBBBBBB....", "...BBBb..bBBB...",
    "...BBb....BBB...", "...bb.....BBB...", "..........BBB...", ".........BBBb...",
    "........BBBb....", ".......BBBb.....", ".......BBB......", ".......BBB......",
    "................", ".......BBB......", ".......BBB......", "................",
};
const picture red_dot = {
    "................", "................", "......rrrr......", "....rrRRRRrr....",
    "...rRRRRRRRRr...", "...rRWWRRRRRr...", "..rRRWRRRRRRRr..", "..rRRRRRRRRRRr..",
    "..rRRRRRRRRRRr..", "..rRRRRRRRRRRr..", "...rRRRRRRRRr...", "...rRRRRRRRRr...",
    "....rrRRRRrr....", "......rrrr......", "................", "................",
};
const picture floppy_disk = {
    "................", ".KKKKKKKKKKKKK..", ".KbDDDDDDDDDbbK.", ".KbDDDKKDDDDbbK.",
    ".KbDDDKKDDDDbbK.", ".KbDDDDDDDDDbbK.", ".KbbbbbbbbbbbbK.", ".KbbbbbbbbbbbbK.",
    ".KbWWWWWWWWWWbK.", ".KbWWWWWWWWWWbK.", ".KbWKKKKKKKKWbK.", ".KbWWWWWWWWWWbK.",
    ".KbWKKKKKKKKWbK.", ".KbWWWWWWWWWWbK.", ".KKKKKKKKKKKKKK.", "................",
};
const picture gray_cross = {
    "................", "................", "..DD........DD..", "..DDD......DDD..",
    "...DDD....DDD...", "....DDD..DDD....", ".....DDDDDD.....", "......DDDD......",
    "......DDDD......", ".....DDDDDD.....", "....DDD..DDD....", "...DDD....DDD...",
    "..DDD......DDD..", "..DD........DD..", "................", "................",
};
const picture microphone = {
    "................", "......KKKK......", ".....KDWDDK.....", ".....KWDDDK.....",
    ".....KDDDDK.....", ".....KDDDDK.....", ".....KDDDDK.....", "...K.KDDDDK.K...",
    "...K..KKKK..K...", "...KK......KK...", "....KK....KK....", "......KKKK......",
    ".......KK.......", ".......KK.......", ".....KKKKKK.....", "................",
};
const picture play_triangle = {
    "................", "................", "....g...........", "....gg..........",
    "....gLg.........", "....gLLg........", "....gLLLg.......", "....gLLLLg......",
    "....gLLLLg......", "....gLLLg.......", "....gLLg........", "....gLg.........",
    "....gg..........", "....g...........", "................", "................",
};
const picture blue_square = {
    "................", "................", "................", "...bbbbbbbbbb...",
    "...bbbbbbbbbb...", "...bbbbbbbbbb...", "...bbbbbbbbbb...", "...bbbbbbbbbb...",
    "...bbbbbbbbbb...", "...bbbbbbbbbb...", "...bbbbbbbbbb...", "...bbbbbbbbbb...",
    "...bbbbbbbbbb...", "................", "................", "................",
};
const picture mic_play_record = {
    "................", "..KKK.....g.....", ".KDWDK....gg....", ".KWDDK....gLg...",
    ".KDDDK....gLLg..", ".KDDDK....gLg...", ".KDDDK....gg....", "K.KKK.K...g.....",
    "K.....K.........", ".KK.KK...rrrr...", "...K....rRRRRr..", "...K....rRWRRr..",
    "..KKK...rRRRRr..", ".........rrrr...", "................", "................",
};

// Hammer over screwdriver, crossed: easier to describe by diagonals than to type.
picture hammer_and_screwdriver() {
  picture p(16, std::string(16, '.'));
  auto put = [&](int x, int y, char c) {
    if (x >= 0 && x < 16 && y >= 0 && y < 16) p[y][x] = c;
  };
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int sum = x + y, diff = x - y;
      if ((diff == 0 || diff == 1) && sum >= 2 && sum <= 12) put(x, y, sum <= 3 ? 'K' : 'D');
      if (std::abs(diff) <= 2 && sum >= 13 && sum <= 14) put(x, y, 'K');  // ferrule
      if (std::abs(diff) <= 2 && sum >= 15 && sum <= 28) put(x, y, diff >= 1 ? 'r' : 'R');
    }
  }
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int sum = x + y, diff = x - y;
      if (sum >= 14 && sum <= 16 && diff >= -13 && diff <= 6) put(x, y, 'y');  // handle
      if (diff >= 7 && diff <= 10 && sum >= 9 && sum <= 20) put(x, y, 'K');    // head
    }
  }
  return p;
}

QImage from_picture(const picture& pic, const char* name) {
  if (pic.size() != 16) fail(std::string(name) + ": not 16 rows");
  QImage img(16, 16, QImage::Format_Indexed8);
  img.setColorTable(colour_table());
  for (int y = 0; y < 16; ++y) {
    if (pic[y].size() != 16)
      fail(std::string(name) + ": row " + std::to_string(y) + " not 16 wide");
    for (int x = 0; x < 16; ++x) img.setPixel(x, y, index_of(pic[y][x]));
  }
  return img;
}

// Nearest colour of the 16, so the logo stays a 16-colour bitmap.
QImage to_16_colours(const QImage& rgb) {
  QImage out(rgb.size(), QImage::Format_Indexed8);
  out.setColorTable(colour_table());
  for (int y = 0; y < rgb.height(); ++y) {
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = rgb.pixel(x, y);
      int best = 0, best_d = 1 << 30;
      for (int i = 0; i < 16; ++i) {
        const QRgb p = palette16[i].rgb;
        const int dr = qRed(c) - qRed(p), dg = qGreen(c) - qGreen(p), db = qBlue(c) - qBlue(p);
        const int d = dr * dr + dg * dg + db * db;
        if (d < best_d) best = i, best_d = d;
      }
      out.setPixel(x, y, best);
    }
  }
  return out;
}

// A loudspeaker with three sound waves, in a box of side s at the painter's origin.
void draw_speaker(QPainter& p, qreal s, const QColor& body, const QColor& waves) {
  QPainterPath cone;
  cone.moveTo(0.10 * s, 0.38 * s);
  cone.lineTo(0.26 * s, 0.38 * s);
  cone.lineTo(0.46 * s, 0.18 * s);
  cone.lineTo(0.46 * s, 0.82 * s);
  cone.lineTo(0.26 * s, 0.62 * s);
  cone.lineTo(0.10 * s, 0.62 * s);
  cone.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawPath(cone);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(waves, std::max<qreal>(1.0, 0.07 * s), Qt::SolidLine, Qt::FlatCap));
  for (int i = 0; i < 3; ++i) {
    const qreal r = (0.14 + 0.13 * i) * s;
    const QRectF box(0.46 * s - r, 0.5 * s - r, 2 * r, 2 * r);
    p.drawArc(box, -45 * 16, 90 * 16);
  }
}

QImage logo() {
  QImage img(256, 256, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 128));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setPen(QPen(QColor(0, 255, 255), 4));
  p.drawRect(6, 6, 243, 243);
  p.save();
  p.translate(58, 22);
  draw_speaker(p, 140, QColor(255, 255, 0), QColor(255, 255, 255));
  p.restore();
  QFont big(QStringLiteral("DejaVu Sans"));
  big.setPixelSize(64);
  big.setBold(true);
  p.setFont(big);
  p.setPen(QColor(255, 255, 255));
  p.drawText(QRect(0, 150, 256, 64), Qt::AlignCenter, QStringLiteral("ZTA"));
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(17);
  small.setBold(true);
  p.setFont(small);
  p.setPen(QColor(0, 255, 255));
  p.drawText(QRect(0, 208, 256, 30), Qt::AlignCenter, QStringLiteral("Announcement Player"));
  p.end();
  return to_16_colours(img);
}

QImage app_icon(int size) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, size > 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 160));
  const qreal radius = size / 6.0;
  p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
  draw_speaker(p, size, QColor(255, 255, 0), QColor(255, 255, 255));
  p.end();
  return img;
}

void save(const QImage& img, const QString& path) {
  if (!img.save(path, "PNG")) fail("cannot write " + path.toStdString());
  std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // fonts for the logo text
  if (argc != 2) fail("usage: zta_make_resources OUTDIR");
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out + "/glyphs");
  QDir().mkpath(out + "/icons");
  const struct {
    int number;
    const char* name;
    picture pic;
  } glyphs[] = {
      {1, "question mark", question_mark},
      {2, "red dot", red_dot},
      {3, "floppy disk", floppy_disk},
      {4, "hammer", hammer_and_screwdriver()},
      {5, "gray cross", gray_cross},
      {6, "microphone", microphone},
      {7, "play triangle", play_triangle},
      {8, "blue square", blue_square},
      {10, "mic, play, record", mic_play_record},
  };
  for (const auto& g : glyphs) {
    save(from_picture(g.pic, g.name),
         QStringLiteral("%1/glyphs/glyph%2.png").arg(out).arg(g.number));
  }
  save(logo(), out + "/logo9.png");
  for (int size : {16, 32, 48})
    save(app_icon(size), QStringLiteral("%1/icons/app-%2.png").arg(out).arg(size));
  return 0;
}
