#include "ui/settings/aboutdlg.h"

#include "db/version.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/programicon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* createText(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Texts from language files are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

const QString& CAboutDlg::supportAddress() {
    static const QString address = QStringLiteral("support@tankometer.example");
    return address;
}

CAboutDlg::CAboutDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("aboutDialog"));

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("icon"));
    m_version = createText(this, QStringLiteral("version"));
    m_supportLabel = createText(this, QStringLiteral("supportLabel"));
    m_supportAddress = createText(this, QStringLiteral("supportAddress"));
    m_supportAddress->setText(supportAddress());
    // The caption and the address are one pair for a screen reader.
    m_supportLabel->setBuddy(m_supportAddress);
    m_translation = createText(this, QStringLiteral("translation"));
    m_translation->setWordWrap(true);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_version);
    texts->addWidget(m_supportLabel);
    texts->addWidget(m_supportAddress);
    texts->addWidget(m_translation);

    auto* top = new QHBoxLayout;
    top->addWidget(m_icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &CAboutDlg::accept);
}

CAboutDlg::~CAboutDlg() = default;

int CAboutDlg::doModal() {
    initDialog();
    return execDialog(*this);
}

QPoint CAboutDlg::centredTopLeft(const QRect& ownerFrame, const QSize& size) {
    // The right and bottom edges lie just outside the frame, and halves round towards minus
    // infinity, so a dialog centred on a frame at negative coordinates stands where it should.
    const int horizontal = ownerFrame.left() + ownerFrame.left() + ownerFrame.width();
    const int vertical = ownerFrame.top() + ownerFrame.top() + ownerFrame.height();
    return {(horizontal >> 1) - (size.width() >> 1), (vertical >> 1) - (size.height() >> 1)};
}

void CAboutDlg::initDialog() {
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    m_icon->setPixmap(programIcon().pixmap(iconSize, iconSize));
    m_version->setText(programVersionLine());
    m_supportLabel->setText(translate(Text::about_support));
    setWindowTitle(translate(Text::about_caption));
    m_translation->setText(translate(Text::about_translation));
    // Two lines are kept for the credit, filled or not, so the box has one size.
    m_translation->setMinimumHeight(2 * m_translation->fontMetrics().lineSpacing());
    m_ok->setFocus();

    adjustSize();
    if (const QWidget* owner = parentWidget())
        move(centredTopLeft(owner->window()->frameGeometry(), frameGeometry().size()));
}
