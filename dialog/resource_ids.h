/*
** Identifiers of the information window, shared by the resource script and
** the code.  Plain defines, so that the resource compiler reads them too.
*/
#ifndef TIRVALO_RESOURCE_IDS_H
#define TIRVALO_RESOURCE_IDS_H

#define IDD_FILE_INFO           101

/* The predefined control classes by their atoms, as a template names them
** (the resource compiler would otherwise store the class names as text). */
#define DLG_BUTTON              0x0080
#define DLG_EDIT                0x0081
#define DLG_STATIC              0x0082

/* The labels, top to bottom. */
#define IDC_LABEL_FULL_NAME     1001
#define IDC_LABEL_SHORT_NAME    1002
#define IDC_LABEL_DESCRIPTION   1003
#define IDC_LABEL_VERSION       1004
#define IDC_LABEL_SIZE          1005
#define IDC_LABEL_ATTRIBUTES    1006
#define IDC_LABEL_CREATED       1007
#define IDC_LABEL_MODIFIED      1008
#define IDC_LABEL_ACCESSED      1009
#define IDC_LABEL_OWNER         1010
#define IDC_LABEL_FILE_TYPE     1011
#define IDC_LABEL_OPENS_WITH    1012

/* The labels' texts, as the template has them, and the two texts that
** replace a label (byte strings: the code reads them as L"" TEXT). */
#define TEXT_FULL_NAME          "Full Name:"
#define TEXT_SHORT_NAME         "MS-DOS name:"
#define TEXT_DESCRIPTION        "Description:"
#define TEXT_VERSION            "File version:"
#define TEXT_SIZE               "Size:"
#define TEXT_ATTRIBUTES         "Attributes:"
#define TEXT_CREATED            "Created:"
#define TEXT_MODIFIED           "Modified:"
#define TEXT_ACCESSED           "Accessed:"
#define TEXT_OWNER              "Owner:"
#define TEXT_FILE_TYPE          "File type:"
#define TEXT_OPENS_WITH         "Opens with:"
#define TEXT_CONTAINS           "Contains:"
#define TEXT_USER_FILE_TYPE     "User file type:"

/* The read-only fields beside them. */
#define IDC_FIELD_FULL_NAME     1025
#define IDC_FIELD_SHORT_NAME    1026
#define IDC_FIELD_DESCRIPTION   1027
#define IDC_FIELD_VERSION       1028
#define IDC_FIELD_SIZE          1029
#define IDC_FIELD_ATTRIBUTES    1030
#define IDC_FIELD_CREATED       1031
#define IDC_FIELD_MODIFIED      1032
#define IDC_FIELD_ACCESSED      1033
#define IDC_FIELD_OWNER         1034
#define IDC_FIELD_FILE_TYPE     1035
#define IDC_FIELD_OPENS_WITH    1036

#endif /* TIRVALO_RESOURCE_IDS_H */
