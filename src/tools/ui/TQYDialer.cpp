#include "TQYDialer.h"

#include <QEventLoop>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "DialingSettings.h"
#include "Settings.h"
#include "WindowMessages.h"

TQYDialer::TQYDialer(Settings& settings, const QString& number, DialogServices services, QWidget* parent)
    : QDialog(parent), settings_(settings), services_(std::move(services)) {
    setObjectName(QStringLiteral("TQYDialer"));
    setWindowTitle(QStringLiteral("Dial Phone Number"));

    auto edit = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    InitEdit = edit("InitEdit");
    PrefixEdit = edit("PrefixEdit");
    NumberEdit = edit("NumberEdit");
    NumberEdit->setText(number);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Modem Initialization String"), InitEdit);
    form->addRow(QStringLiteral("Prefix"), PrefixEdit);
    form->addRow(QStringLiteral("Number to Dial"), NumberEdit);

    auto* portGroup = new QGroupBox(QStringLiteral("Port"));
    auto* portLayout = new QHBoxLayout(portGroup);
    for (int i = 0; i < 4; ++i) {
        PortRadios[i] = new QRadioButton(QStringLiteral("COM %1").arg(i + 1));
        PortRadios[i]->setObjectName(QStringLiteral("PortRadio%1").arg(i + 1));
        portLayout->addWidget(PortRadios[i]);
    }
    PortRadios[0]->setChecked(true);
    auto* methodGroup = new QGroupBox(QStringLiteral("Method"));
    ToneRadio = new QRadioButton(QStringLiteral("Tone"));
    ToneRadio->setObjectName(QStringLiteral("ToneRadio"));
    PulseRadio = new QRadioButton(QStringLiteral("Pulse"));
    PulseRadio->setObjectName(QStringLiteral("PulseRadio"));
    ToneRadio->setChecked(true);
    auto* methodLayout = new QHBoxLayout(methodGroup);
    methodLayout->addWidget(ToneRadio);
    methodLayout->addWidget(PulseRadio);
    auto* groups = new QHBoxLayout;
    groups->addWidget(portGroup, 1);
    groups->addWidget(methodGroup);

    ButtonRow buttons(
        this, [this] { DialButtonClick(); }, services_.helpFor(this), Qt::Horizontal, QStringLiteral("Dial"));
    DialButton = buttons.OkButton;
    DialButton->setObjectName(QStringLiteral("DialButton"));
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addLayout(buttons.layout);
    setMinimumWidth(420);
}

void TQYDialer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TQYDialer::FormActivate() {
    if (activated_) return;
    activated_ = true;
    const DialingSettings d = DialingSettings::Load(settings_);
    InitEdit->setText(d.init);
    PrefixEdit->setText(d.prefix);
    PortRadios[int(d.port)]->setChecked(true);
    (d.method == TDialer::dmPulse ? PulseRadio : ToneRadio)->setChecked(true);
}

void TQYDialer::DialButtonClick() {
    if (dialing_) return;
    DialingSettings d;
    d.init = InitEdit->text();
    d.prefix = PrefixEdit->text();
    for (int i = 0; i < 4; ++i) {
        if (PortRadios[i]->isChecked()) d.port = TDialer::TComPort(i);
    }
    d.method = PulseRadio->isChecked() ? TDialer::dmPulse : TDialer::dmTone;
    QString error;
    if (!d.Save(settings_, &error)) WindowMessages().error(error);

    TDialer dialer = d.dialer(NumberEdit->text());
    dialer.DevicePath = devicePath_;
    dialer.InitPauseMs = initPause_;
    // The pause lets the window paint; Dial is held off until the dial is over.
    dialer.wait = [](int milliseconds) {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    dialing_ = true;
    DialButton->setEnabled(false);
    dialer.Dial(WindowMessages());
    DialButton->setEnabled(true);
    dialing_ = false;
}

void TQYDialer::done(int result) {
    if (dialing_) return;
    QDialog::done(result);
}
