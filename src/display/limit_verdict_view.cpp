#include "limit_verdict_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

LimitVerdictView::LimitVerdictView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("limitVerdict"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 0, 0, 200));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    setPalette(p);
    verdict = new QLabel(QStringLiteral("--"), this);
    QFont big = verdict->font();
    big.setPixelSize(30);
    big.setBold(true);
    verdict->setFont(big);
    verdict->setAlignment(Qt::AlignCenter);
    counts = new QLabel(this);
    counts->setAlignment(Qt::AlignCenter);
    resetButton = new QPushButton(QStringLiteral("Reset"), this);
    resetButton->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(verdict, 0, 0, 1, 2);
    layout->addWidget(counts, 1, 0);
    layout->addWidget(resetButton, 1, 1);
    connect(resetButton, &QPushButton::clicked, this, &LimitVerdictView::ResetRequested);
    ShowVerdict(true, false, 99999, 99999); // the widest texts set the size
    setFixedSize(sizeHint());
    ShowVerdict(false, true, 0, 0);
}

void LimitVerdictView::ShowVerdict(bool judged, bool pass, int traces, int failures) {
    verdict->setText(!judged ? QStringLiteral("--")
                     : pass  ? QStringLiteral("PASS")
                             : QStringLiteral("FAIL"));
    QPalette p = verdict->palette();
    p.setColor(QPalette::WindowText, !judged ? QColor(160, 160, 160)
                                     : pass  ? QColor(60, 220, 90)
                                             : QColor(255, 60, 60));
    verdict->setPalette(p);
    counts->setText(QStringLiteral("%1 traces, %2 failed").arg(traces).arg(failures));
}
