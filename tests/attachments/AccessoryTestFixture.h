#pragma once

#include "FakeAccessoryView.h"
#include "support/ScriptedLogin.h"

#include "attachments/frmAccessory.h"
#include "common/modPublic.h"
#include "entry/WindowManager.h"

#include <QImage>

// The attachment window's logic on a fake view over a fresh database of each backend, with a
// card session that holds every right. Voucher 42 is being worked on, voucher 43 is confirmed.
class AccessoryTest : public AttachmentTest
{
protected:
    static constexpr qint32 Confirmed = 43;

    void SetUp() override
    {
        AttachmentTest::SetUp();
        if (!db.available())
            return;
        modPublic::setCardLogin(login);
        db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode) VALUES (?, ?)"),
                {Voucher, QStringLiteral("YP2026120042")});
        db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cHandler) VALUES (?, ?, ?)"),
                {Confirmed, QStringLiteral("YP2026120043"), QStringLiteral("李四")});
    }
    void TearDown() override { modPublic::clearProgramState(); }

    // A loaded window of the kind for the voucher.
    std::unique_ptr<frmAccessory> open(sFileType kind, qint32 voucher = Voucher)
    {
        auto window = std::make_unique<frmAccessory>(view);
        window->Load(kind, voucher, cnn);
        return window;
    }

    // Stores an annex of `size` bytes for a voucher directly through the store.
    QString storedAnnex(const QString &name, qint64 size, qint32 voucher = Voucher)
    {
        const QString path = localFile(name, size, quint32(size));
        QString msg;
        EXPECT_TRUE(store(fileType::annex, voucher).SaveFile2Server(chosen(path, fileType::annex, voucher), msg))
            << msg.toStdString();
        return path;
    }

    // A small picture in BMP form.
    QString bitmap(const QString &name)
    {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    std::shared_ptr<ScriptedLogin> login = std::make_shared<ScriptedLogin>();
    std::shared_ptr<FakeAccessoryView> view = std::make_shared<FakeAccessoryView>();
};
