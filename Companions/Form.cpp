// Form.dll: Vantorel's About box, built from the product information it is given.
#include "CompanionApi.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QString Text(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

QLabel* Line(const QString& text, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    return label;
}

QString Link(const QString& target, const QString& shown) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped());
}

} // namespace

extern "C" void ShowAboutForm(void* application, TSoftInfoRecord info) {
    if (application == nullptr || QApplication::instance() == nullptr) return;
    const QString product = Text(info.ProductName);
    const QString title = (product + QLatin1Char(' ') + Text(info.TitleSuffix)).trimmed();

    QDialog box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("frmAbout"));
    box.setWindowTitle(QStringLiteral("About ") + product);
    box.setModal(true);

    auto* picture = new QLabel(&box);
    const QPixmap icon(Text(info.AppDir) + QStringLiteral("Pictures/vantorel.png"));
    if (!icon.isNull()) picture->setPixmap(icon.scaled(72, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picture->setFixedWidth(88);

    auto* texts = new QVBoxLayout;
    QLabel* name = Line(title, &box, "lblProduct");
    QFont big = name->font();
    big.setPixelSize(18);
    big.setBold(true);
    name->setFont(big);
    texts->addWidget(name);
    texts->addWidget(Line(Text(info.ExtraInfo1), &box, "lblExtraInfo1"));
    texts->addSpacing(6);
    texts->addWidget(Line(Text(info.ExtraInfo2), &box, "lblExtraInfo2"));
    texts->addSpacing(6);
    QLabel* home = Line(Link(Text(info.HomePage), Text(info.HomePage)), &box, "lblHomePage");
    QLabel* mail = Line(Link(QStringLiteral("mailto:") + Text(info.Email), Text(info.Email)), &box, "lblEmail");
    for (QLabel* label : {home, mail}) label->setOpenExternalLinks(true);
    texts->addWidget(home);
    texts->addWidget(mail);
    texts->addSpacing(6);
    texts->addWidget(Line(QStringLiteral("\u00a9 ") + Text(info.Company), &box, "lblCompany"));
    texts->addStretch(1);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    box.setFixedWidth(430);
    box.exec();
}
