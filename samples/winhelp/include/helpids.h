#ifndef HELPIDS_H
#define HELPIDS_H
/* Help topics the application asks for */
#define IDH_OPEN    1001
#define IDH_PRINT   1002
#define IDH_BASE    1000
#define IDH_SEARCH  (IDH_BASE+3)
#endif
