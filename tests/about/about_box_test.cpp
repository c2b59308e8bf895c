// The about box and the help command, driven by real key and mouse input on the widgets.
#include "about/about_box.h"
#include "about/help.h"
#include "assets/pictures.h"
#include "support/fake_platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quorvin {
namespace {

class AboutBoxTest : public ::testing::Test {
  protected:
    test::FakePlatform platform;
    QWidget owner;

    void SetUp() override {
        owner.setWindowTitle(QStringLiteral("Quorvin 1.0"));
        owner.setWindowIcon(windowIcon());
    }

    std::unique_ptr<AboutBox> shownBox() {
        auto box = std::make_unique<AboutBox>(platform, &owner);
        box->show();
        return box;
    }

    static QLabel* label(const AboutBox& box, const char* name) {
        auto* found = box.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(AboutBoxTest, CharacterKeysCloseAndOtherKeysDoNot) {
    for (Qt::Key key :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space, Qt::Key_A, Qt::Key_7}) {
        SCOPED_TRACE(key);
        auto box = shownBox();
        QTest::keyClick(box.get(), key);
        EXPECT_FALSE(box->isVisible());
        EXPECT_EQ(box->result(), QDialog::Accepted);
    }
    auto box = shownBox();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_F1, Qt::Key_F4, Qt::Key_Shift}) {
        SCOPED_TRACE(key);
        QTest::keyClick(box.get(), key);
        EXPECT_TRUE(box->isVisible());
    }
}

TEST_F(AboutBoxTest, LinksOpenTheirAddressesAndEveryOtherClickCloses) {
    auto linked = shownBox();
    QTest::mouseClick(label(*linked, "lblURL"), Qt::LeftButton);
    QTest::mouseClick(label(*linked, "lblMail"), Qt::LeftButton);
    EXPECT_TRUE(linked->isVisible());
    EXPECT_EQ(platform.opened, (std::vector<std::string>{"http://www.example.org/quorvin",
                                                         "mailto:quorvin@example.org"}));
    platform.opened.clear();

    for (const char* name : {"imgLogo", "imgIcono", "lblTitulo", "lblCreadoPor", "lblTexto",
                             "lblTexEmail", "lblTexWeb", "lblClick"}) {
        SCOPED_TRACE(name);
        auto box = shownBox();
        QTest::mouseClick(label(*box, name), Qt::LeftButton);
        EXPECT_FALSE(box->isVisible());
    }
    // The white frame lies over everything; the background under its edge still closes.
    auto box = shownBox();
    QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(box->width() - 6, 100));
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(platform.opened.empty());
}

TEST_F(AboutBoxTest, HoverUnderlinesOnlyTheLinkUnderThePointer) {
    auto box = shownBox();
    QLabel* web = label(*box, "lblURL");
    QLabel* mail = label(*box, "lblMail");
    EXPECT_FALSE(web->font().underline());
    EXPECT_FALSE(mail->font().underline());

    QTest::mouseMove(web, web->rect().center());
    EXPECT_TRUE(web->font().underline());
    EXPECT_FALSE(mail->font().underline());

    QTest::mouseMove(mail, mail->rect().center());
    EXPECT_FALSE(web->font().underline());
    EXPECT_TRUE(mail->font().underline());

    QTest::mouseMove(box.get(), QPoint(box->width() - 6, 100));
    EXPECT_FALSE(web->font().underline());
    EXPECT_FALSE(mail->font().underline());
    EXPECT_TRUE(box->isVisible());
}

TEST_F(AboutBoxTest, TakesTheOwnersTitleAndIconAtEachShowing) {
    auto box = shownBox();
    EXPECT_EQ(box->objectName(), QStringLiteral("FormVantomir"));
    EXPECT_EQ(box->size(), QSize(284, 420));
    EXPECT_EQ(label(*box, "lblTitulo")->text(), QStringLiteral("Quorvin 1.0"));
    EXPECT_FALSE(label(*box, "imgIcono")->pixmap().isNull());
    EXPECT_FALSE(box->windowIcon().isNull());
    box->hide();

    owner.setWindowTitle(QStringLiteral("Quorvin 1.1"));
    box->show();
    EXPECT_EQ(label(*box, "lblTitulo")->text(), QStringLiteral("Quorvin 1.1"));
}

TEST(HelpCommand, HandsOverAnHtmlCopyInThePlayersOwnFolderOrTheDocumentItself) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QByteArray page = "<!DOCTYPE html>\r\n<p>C\xc3\xb3mo jugar</p>\r\n";
    const QString documentPath = data.filePath(QStringLiteral("quorvin.hlp"));
    QFile document(documentPath);
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write(page);
    document.close();

    // A link planted where the copy goes (as anyone could in a shared temporary folder) is
    // replaced, never written through.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    ASSERT_TRUE(QDir().mkpath(cache));
    const QString victim = data.filePath(QStringLiteral("victim"));
    QFile(victim).open(QIODevice::WriteOnly);
    QFile::remove(cache + QStringLiteral("/ayuda.html"));
    ASSERT_TRUE(QFile::link(victim, cache + QStringLiteral("/ayuda.html")));

    test::FakePlatform platform;
    openHelp(platform, documentPath.toStdString());
    ASSERT_EQ(platform.opened.size(), 1u);
    const QString handed = QString::fromStdString(platform.opened[0]);
    EXPECT_EQ(QFileInfo(handed).absolutePath(), cache) << "the player's own cache folder";
    EXPECT_TRUE(handed.endsWith(QStringLiteral(".html"))) << platform.opened[0];
    EXPECT_FALSE(QFileInfo(handed).isSymLink());
    EXPECT_EQ(QFileInfo(victim).size(), 0);
    EXPECT_EQ(QFileInfo(cache).permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    QFile copy(handed);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), page);

    // Without a document the .hlp itself is asked for, so the desktop reports it.
    QTemporaryDir empty;
    const std::string missing = empty.path().toStdString() + "/quorvin.hlp";
    openHelp(platform, missing);
    EXPECT_EQ(platform.opened.back(), missing);
}

} // namespace
} // namespace quorvin
