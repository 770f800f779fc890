// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/NameWebPage.h"

#include "core/PageOptions.h"
#include "ui/kit/DialogButton.h"
#include "ui/kit/FieldLook.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/NumberField.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

TNameitForm::TNameitForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TNameitForm"));
    setWindowTitle(tr("Name your file"));
    setModal(true);
    Skin::apply(this, QStringLiteral("nameit_skin.png"), QColor(Qt::black));
    m_showMessage = [this](const QString &text) {
        QMessageBox::information(this, QApplication::applicationName(), text);
    };

    (ShadowText::caption(QStringLiteral("FileNameLabel"), tr("File Name"), ShadowText::Plain, this))
        ->move(22, 40);
    m_webName = new QLineEdit(this);
    m_webName->setObjectName(QStringLiteral("WebNameEdit"));
    m_webName->setGeometry(20, 58, 232, 22);
    paintSilver(m_webName);
    HelpHints::setHint(m_webName, tr("Enter the name of the file you want to save to your hard drive."));

    m_counter = new NumberField(QStringLiteral("NameIncrement"), this);
    m_counter->setGeometry(260, 58, 86, 22);
    m_counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HelpHints::setHint(m_counter,
                       tr("This number is appended to the filename and automatically incremented every "
                          "time a page is created. The program will not use this if the value is zero."));

    (ShadowText::caption(QStringLiteral("PageTitleLabel"), tr("Page Title"), ShadowText::Plain, this))
        ->move(22, 86);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    m_title->setGeometry(20, 104, 326, 22);
    paintSilver(m_title);
    HelpHints::setHint(m_title,
                       tr("Enter the title of the web page. This shows up on the title bar at the top of "
                          "the screen."));

    addFlag(
        QStringLiteral("DeleteThumbnail"), QStringLiteral("DeleteThumbnailLabel"),
        tr("Delete any existing thumbnails"), 134, [](const PageOptions &o) { return o.DeleteThumbnail(); },
        [](PageOptions &o, bool on) { o.setDeleteThumbnail(on); });
    addFlag(
        QStringLiteral("Previewit"), QStringLiteral("PreviewitLabel"), tr("Preview after creating"), 158,
        [](const PageOptions &o) { return o.Previewit(); },
        [](PageOptions &o, bool on) { o.setPreviewit(on); });

    const auto [ok, cancel] = makeOkCancelButtons(this, 190);
    connect(ok, &QPushButton::clicked, this, &TNameitForm::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &TNameitForm::CancelButtonClick);
    // Enter in the two text fields is OK; in the counter it does nothing special.
    connect(m_webName, &QLineEdit::returnPressed, this, &TNameitForm::OKButtonClick);
    connect(m_title, &QLineEdit::returnPressed, this, &TNameitForm::OKButtonClick);

    QWidget *order[] = {m_webName,
                        m_title,
                        findChild<QCheckBox *>(QStringLiteral("DeleteThumbnail")),
                        findChild<QCheckBox *>(QStringLiteral("Previewit")),
                        ok,
                        cancel,
                        m_counter};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TNameitForm::addFlag(const QString &boxName, const QString &captionName, const QString &caption, int y,
                          FlagGetter get, FlagSetter set)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(boxName);
    box->setGeometry(20, y, 18, 22);
    box->setChecked(true);
    auto *label = ShadowText::caption(captionName, caption, ShadowText::Clickable, this);
    label->move(40, y + 3);
    label->adjustSize();
    connect(box, &QCheckBox::clicked, this, [this, set](bool on) {
        if (m_options)
            set(*m_options, on);
    });
    connect(label, &ShadowText::clicked, this, [this, box, get, set] {
        if (m_options)
            set(*m_options, !get(*m_options));
        box->setChecked(m_options ? get(*m_options) : !box->isChecked());
    });
}

NameDialogAnswer TNameitForm::ask(PageOptions &options)
{
    m_options = &options;
    m_webName->setText(options.WebNameEdit());
    m_title->setText(options.TitleEdit());
    m_counter->setValue(options.NameIncrement());
    findChild<QCheckBox *>(QStringLiteral("DeleteThumbnail"))->setChecked(options.DeleteThumbnail());
    findChild<QCheckBox *>(QStringLiteral("Previewit"))->setChecked(options.Previewit());
    WindowPlacement::centreOnScreen(this);
    m_webName->setFocus();
    exec();
    m_options = nullptr;
    return answer();
}

NameDialogAnswer TNameitForm::answer() const
{
    NameDialogAnswer a;
    a.cancelled = m_cancelled;
    a.counter = m_counter->value();
    a.name = m_webName->text();
    a.title = m_title->text();
    return a;
}

void TNameitForm::OKButtonClick()
{
    m_webName->setFocus();
    m_cancelled = false;
    // The name and title reach the options also when the name is refused.
    if (m_options) {
        m_options->setWebNameEdit(m_webName->text());
        m_options->setTitleEdit(m_title->text());
    }
    if (!m_webName->text().contains(QLatin1Char('.'))) {
        m_showMessage(tr(MissingExtensionText));
        return;
    }
    const QString file = PageOptions::pageFileNameOf(m_webName->text(), m_counter->value());
    if (m_filesOfThePage.contains(file)) {
        m_showMessage(tr("%1 is a file of the page. Please give the page another name.").arg(file));
        return;
    }
    accept();
}

void TNameitForm::CancelButtonClick()
{
    reject();
}

void TNameitForm::reject()
{
    m_cancelled = true;
    QDialog::reject();
}
