#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class AppHome;
class Hunspell;

// The letter editor's spell checker: the system's en_US Hunspell dictionary as the
// main word list, and the user word list quillou.dct in the home (one word a line,
// created empty when missing) whose words count as known too.
class SpellChecker {
  public:
    static constexpr int kMaxSuggestions = 10;
    static const QString kMainAff;  // /usr/share/hunspell/en_US.aff
    static const QString kMainDic;
    static const QString kUserFile;  // "quillou.dct"

    // Whether the main dictionary is installed (spell checking is offered only then).
    static bool Available(const QString& aff = kMainAff, const QString& dic = kMainDic);

    // Opens the main dictionary and the user word list of `home`.
    explicit SpellChecker(const AppHome& home, const QString& aff = kMainAff, const QString& dic = kMainDic);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    bool isOpen() const { return hunspell_ != nullptr; }
    // Whether "&Add Word" can work: the user word list could be opened or created.
    bool canAddWords() const { return userListOk_; }

    bool isKnown(const QString& word) const;
    // Up to kMaxSuggestions replacements for an unknown word, best first.
    QStringList suggestions(const QString& word) const;
    // Adds `word` to the user word list (and so to the known words). False when the
    // list cannot be written.
    bool addWord(const QString& word);

  private:
    std::unique_ptr<Hunspell> hunspell_;
    QString userPath_;
    bool userListOk_ = false;
};
