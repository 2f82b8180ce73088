#include <gtest/gtest.h>

#include <QFile>

#include "ui/help.hpp"

namespace zta::ui {
namespace {

TEST(Manual, HasAnAnchorForTheContentsAndEveryHelpContext) {
  QFile file(QStringLiteral(ZTA_SOURCE_DIR "/docs/manual.html"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString html = QString::fromUtf8(file.readAll());
  for (int context : {help_contents, help_settings, help_announcement_control, help_day_part}) {
    const QUrl url = manual_url(QStringLiteral("/opt/zta/manual.html"), context);
    EXPECT_EQ(url.path(), "/opt/zta/manual.html");
    EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(url.fragment()))) << context;
  }
  EXPECT_EQ(manual_url("/m.html", 104).toString(), "file:///m.html#context-104");
}

}  // namespace
}  // namespace zta::ui
