#pragma once
// What a screen reader finds in a timeline section: a list whose items are the day's
// matters, each named by its time, text and remarks, with the actions 详情 (details)
// and 添加备注 (add a remark).
class QAccessibleInterface;
class QObject;
class QString;

namespace kivtal {

// The accessibility factory for CTimeBody; installed once, by the first section.
QAccessibleInterface* TimelineAccessibleFactory(const QString& className, QObject* object);

}  // namespace kivtal
