#include "SpellChecker.h"

#include <hunspell/hunspell.hxx>

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "AppHome.h"
#include "FileSystem.h"

const QString SpellChecker::kMainAff = QStringLiteral("/usr/share/hunspell/en_US.aff");
const QString SpellChecker::kMainDic = QStringLiteral("/usr/share/hunspell/en_US.dic");
const QString SpellChecker::kUserFile = QStringLiteral("quillou.dct");

bool SpellChecker::Available(const QString& aff, const QString& dic) {
    return QFileInfo::exists(aff) && QFileInfo::exists(dic);
}

SpellChecker::SpellChecker(const AppHome& home, const QString& aff, const QString& dic) {
    if (Available(aff, dic)) {
        hunspell_ = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    }
    userPath_ = home.existingFile(kUserFile);
    QFile user(userPath_);
    // A missing list is created empty; an existing one is read, a word a line.
    const xbase::NewFileMode mode(QFile::encodeName(userPath_).toStdString());
    userListOk_ = user.open(QIODevice::ReadWrite | QIODevice::Text);
    if (!userListOk_) return;
    mode.written();
    QTextStream in(&user);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString word = in.readLine().trimmed();
        if (!word.isEmpty() && hunspell_) hunspell_->add(word.toStdString());
    }
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isKnown(const QString& word) const {
    if (!hunspell_) return true;
    return hunspell_->spell(word.toStdString());
}

QStringList SpellChecker::suggestions(const QString& word) const {
    QStringList out;
    if (!hunspell_) return out;
    for (const std::string& s : hunspell_->suggest(word.toStdString())) {
        if (out.size() == kMaxSuggestions) break;
        out << QString::fromStdString(s);
    }
    return out;
}

bool SpellChecker::addWord(const QString& word) {
    const QString w = word.trimmed();
    if (w.isEmpty() || w.contains(QLatin1Char('\n'))) return false;
    QFile user(userPath_);
    if (!userListOk_ || !user.open(QIODevice::Append | QIODevice::Text)) return false;
    if (user.write((w + "\n").toUtf8()) < 0 || !user.flush()) return false;
    if (hunspell_) hunspell_->add(w.toStdString());
    return true;
}
