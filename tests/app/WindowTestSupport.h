#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "AppHome.h"
#include "NextDialog.h"
#include "RecordEditor.h"
#include "ScriptedMessages.h"
#include "TAddressMain.h"
#include "TempDir.h"

// One stored record as the engine reads it back, with its deletion mark.
struct StoredRecord {
    RecordValues values;
    bool deleted = false;
    bool isdel = false;
};
// Every record of an address file, in record order (the file must not be open).
std::vector<StoredRecord> readRecords(const QString& path);
// Makes an address file with these records (by field name).
void makeAddressFile(const QString& path, const std::vector<RecordValues>& records);

// A temporary home with a settings file, and message boxes that tests answer: every
// request is recorded, questions take the queued answers (Yes when none is queued).
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QString iniPath() const { return home_.file("QUILLO.ini"); }
    QString dataFile(const QString& name) const { return home_.dataDir() + "/" + name; }
    void writeIni(const QByteArray& text);
    QByteArray ini() const;

    // A main window after its first activation.
    std::unique_ptr<TAddressMain> start();
    // The questions and notices asked so far, as "caption: text".
    QStringList askedTexts() const;
    bool wasAsked(const QString& text) const { return messages_.wasAsked(text); }
    // The beeps so far.
    int BeepCount() const { return messages_.beeps; }

    TempDir dir_;
    AppHome home_{QString::fromStdString(dir_.path())};
    ScriptedMessages messages_;
    std::vector<ScriptedMessages::Request>& asked_ = messages_.requests;
    std::deque<bool>& answers_ = messages_.answers;
};
