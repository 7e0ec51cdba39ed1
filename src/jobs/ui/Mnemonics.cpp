#include "Mnemonics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <vector>

namespace Mnemonics {

QChar of(const QString& caption) {
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return caption[i + 1].toLower();
    }
    return QChar();
}

namespace {

// The caption with "&" put before the first free letter (word starts first); the
// caption as it is when every letter is taken.
QString withFreeLetter(const QString& caption, QSet<QChar>& taken) {
    std::vector<int> wordStarts, others;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {  // a literal "&&"
            ++i;
            continue;
        }
        if (!caption[i].isLetterOrNumber()) continue;
        const bool start = i == 0 || !caption[i - 1].isLetterOrNumber();
        (start ? wordStarts : others).push_back(i);
    }
    for (const std::vector<int>* positions : {&wordStarts, &others}) {
        for (int i : *positions) {
            const QChar letter = caption[i].toLower();
            if (taken.contains(letter)) continue;
            taken.insert(letter);
            return caption.left(i) + '&' + caption.mid(i);
        }
    }
    return caption;
}

// Controls that take a letter: buttons with a caption (not the tool buttons of bars,
// which have their own keys) and labels that name a field (those with a buddy).
bool takesLetter(QWidget* w) {
    if (qobject_cast<QToolButton*>(w)) return false;
    // Captions of signs only ("<", ">|") name no letter.
    const QString caption = qobject_cast<QAbstractButton*>(w) ? static_cast<QAbstractButton*>(w)->text()
                            : qobject_cast<QLabel*>(w)     ? static_cast<QLabel*>(w)->text()
                                                           : QString();
    if (std::none_of(caption.begin(), caption.end(), [](QChar c) { return c.isLetterOrNumber(); })) return false;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return !b->text().trimmed().isEmpty();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->buddy() && !l->text().trimmed().isEmpty() && l->textFormat() != Qt::RichText &&
               !Qt::mightBeRichText(l->text());
    return false;
}

void setCaption(QWidget* w, const QString& caption) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(caption);
    else
        static_cast<QLabel*>(w)->setText(caption);
}

class ShowWatcher : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            // After the window's own show handling, which may still set captions.
            if (w->isWindow() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
                QTimer::singleShot(0, w, [w] { assign(w); });
        }
        return false;
    }
};

}  // namespace

std::vector<QWidget*> controls(QWidget* window) {
    std::vector<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && takesLetter(w)) found.push_back(w);
    return found;
}

QString captionOf(const QWidget* control) {
    if (auto* b = qobject_cast<const QAbstractButton*>(control)) return b->text();
    return static_cast<const QLabel*>(control)->text();
}

QSet<QChar> taken(QWidget* window) {
    QSet<QChar> letters;
    const auto mine = [window](QWidget* w) { return w->window() == window; };
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (mine(bar))
            for (const QAction* a : bar->actions()) letters.insert(of(a->text()));
    for (QTabBar* tabs : window->findChildren<QTabBar*>())
        if (mine(tabs))
            for (int i = 0; i < tabs->count(); ++i) letters.insert(of(tabs->tabText(i)));
    for (QGroupBox* box : window->findChildren<QGroupBox*>())
        if (mine(box)) letters.insert(of(box->title()));
    for (QWidget* w : controls(window)) letters.insert(of(captionOf(w)));
    letters.remove(QChar());
    return letters;
}

void assign(QWidget* window) {
    QSet<QChar> letters = taken(window);
    std::vector<QWidget*> waiting;
    for (QWidget* w : controls(window))
        if (of(captionOf(w)).isNull()) waiting.push_back(w);
    // Buttons first: where letters run short, labels go without (their field is reached
    // with Tab as well).
    std::stable_partition(waiting.begin(), waiting.end(),
                          [](QWidget* w) { return qobject_cast<QAbstractButton*>(w) != nullptr; });
    for (QWidget* w : waiting) {
        const QString caption = captionOf(w);
        const QString marked = withFreeLetter(caption, letters);
        if (marked != caption) setCaption(w, marked);
    }
}

void install() {
    static ShowWatcher* watcher = nullptr;
    if (watcher) return;
    watcher = new ShowWatcher(qApp);
    qApp->installEventFilter(watcher);
}

}  // namespace Mnemonics
