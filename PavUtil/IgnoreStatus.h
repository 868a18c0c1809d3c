// The one marker for a status dropped on purpose.
//
// The status-returning calls of the model, of its data classes, of the controller and of the
// data providers are [[nodiscard]]: a caller either acts on the status or hands it to
// ignoreStatus together with the reason the failure does not matter there, e.g.
//
//   ignoreStatus(pd->getSlotNumber(&slot), "the slot stays 0 and is printed as such");
//
// so that every dropped status is visible and explained at its call. The reason is for the
// reader only; nothing is logged or printed. Any other way of dropping a status (a (void)
// cast, an unused variable) is not used.
#ifndef PAVUTIL_IGNORESTATUS_H
#define PAVUTIL_IGNORESTATUS_H

template <typename Status>
inline void ignoreStatus(const Status& /*status*/, const char* /*why*/) {}

#endif
