#pragma once

#include <QAbstractButton>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QToolBar>
#include <QWidget>

// What keeps a window from being worked with Alt and a letter: a push button, check box
// or radio button with a text, a checkable group box, or a field's label (one with a
// buddy, or in a form's label column beside a field that takes focus) without an Alt
// letter, and two of them sharing one. Each problem is one line naming the control;
// none means the window is fine.
// Widgets hidden on purpose (hidden to the window) are left out; disabled ones count.
inline QStringList MnemonicProblems(const QWidget& window) {
    QStringList problems;
    QMap<QString, QString> owners;  // letter → the control holding it
    auto check = [&](const QWidget* w, const QString& text) {
        if (text.isEmpty()) return;
        const QString letter = QKeySequence::mnemonic(text).toString();
        if (letter.isEmpty()) {
            problems << QStringLiteral("no Alt letter: \"%1\" (%2)").arg(text, w->objectName());
            return;
        }
        if (owners.contains(letter))
            problems << QStringLiteral("%1 twice: \"%2\" and \"%3\"").arg(letter, owners[letter], text);
        else
            owners[letter] = text;
    };
    auto shown = [&](const QWidget* w) { return w == &window || w->isVisibleTo(&window); };
    auto inFormLabelColumn = [](const QLabel* l) {
        const QWidget* parent = l->parentWidget();
        if (!parent) return false;
        for (const QFormLayout* form : parent->findChildren<QFormLayout*>()) {
            int row = -1;
            QFormLayout::ItemRole role;
            form->getWidgetPosition(const_cast<QLabel*>(l), &row, &role);
            if (row < 0 || role != QFormLayout::LabelRole) continue;
            // A label over a read-only text (a caption's) names no field.
            const QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            const QWidget* fieldWidget = field ? field->widget() : nullptr;
            return !fieldWidget || fieldWidget->focusPolicy() != Qt::NoFocus;
        }
        return false;
    };
    // A button whose label is another widget (a label with the button as its buddy)
    // takes the label's letter.
    QList<const QWidget*> labelled;
    for (const QLabel* l : window.findChildren<QLabel*>())
        if (l->buddy()) labelled << l->buddy();
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!shown(w) || w->window() != &window) continue;
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            if (qobject_cast<const QToolBar*>(b->parentWidget())) continue;  // the tool bars' icons
            if (labelled.contains(b)) continue;
            check(b, b->text());
        } else if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
            if (g->isCheckable()) check(g, g->title());
        } else if (const auto* l = qobject_cast<const QLabel*>(w)) {
            if (l->buddy() || inFormLabelColumn(l)) check(l, l->text());
        }
    }
    return problems;
}
