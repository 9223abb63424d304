#include "board/chimei/ChimeiCtl_A.h"

ChimeiCtl_A::ChimeiCtl_A(QWidget* parent) : QWidget(parent) {}

void ChimeiCtl_A::SetChimei(const QString& strText) { text_ = strText; }
