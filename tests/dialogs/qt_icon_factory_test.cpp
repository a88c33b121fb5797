#include "platform/qt/qt_icon_factory.h"

#include <gtest/gtest.h>

#include <QImage>

#include "core/icons/rebuild_icons.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"
#include "testing/core/test_files.h"

namespace kantoria {
namespace {

QColor CentreOf(const QPixmap& picture) {
    return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

TEST(QtIconFactory, PicturesFromImageFilesAndABlankPageForTheRest) {
    test::TempFolder dir;
    QImage green(48, 48, QImage::Format_ARGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(QString::fromStdString(dir / "green.png")));

    MemoryFileTypes types;
    types.AddExtension(".grn", "greenfile");
    types.AddType("greenfile", "Green");
    types.SetDefaultIcon("greenfile", dir / "green.png");
    types.AddExtension(".bad", "badfile");
    types.AddType("badfile", "Bad");
    types.SetDefaultIcon("badfile", dir / "missing.png");

    Catalogue doc;
    for (const char* path : {"/a/x.grn", "/a/y.bad", "/a/z.unknown", "/a/w.GRN"})
        doc.Entries().Append(path, path, "");
    QtIconFactory factory;
    test::MapEnvironment env({});
    RebuildIcons(doc, {types, factory, env});

    const auto& large = ImagesOf(doc.LargeImages());
    const auto& small = ImagesOf(doc.SmallImages());
    ASSERT_EQ(large.size(), 3u);  // .grn, .bad, .unknown
    ASSERT_EQ(small.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(large[i].size(), QSize(32, 32)) << i;
        EXPECT_EQ(small[i].size(), QSize(16, 16)) << i;
    }
    EXPECT_EQ(CentreOf(large[0]), QColor(Qt::green));
    EXPECT_EQ(CentreOf(small[0]), QColor(Qt::green));
    // Types without a usable picture get the blank page at both sizes, never an empty image.
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(CentreOf(large[i]), QColor(Qt::white)) << i;
        EXPECT_EQ(CentreOf(small[i]), QColor(Qt::white)) << i;
        EXPECT_EQ(large[i].toImage().pixelColor(0, 0).alpha(), 0) << i;
    }
    std::vector<int> images;
    for (const Entry& e : doc.Entries()) images.push_back(e.ImageIndex());
    EXPECT_EQ(images, (std::vector<int>{0, 1, 2, 0}));
}

}  // namespace
}  // namespace kantoria
