/* Ids shared by the resource scripts and the dialog code: dialogs, controls, icons, timers and
   help topics. Plain defines, so that the resource compiler reads this file as well. An id that
   two dialogs use is defined once; the second dialog's name refers to it. */
#pragma once

/* Named string-table entries (IDS_...): C++ constants made from the one string list. */
#ifndef RC_INVOKED
#include "support/string_ids.h"
#endif

/* Dialog templates */
#define IDD_GAGING_DEVICE_SETUP 142
#define IDD_GAGE_SERVER_CONFIGURATION 144

/* Icons and timers */
#define IDI_GAGE_SERVER 100
#define IDT_POLL 100 /* the setup dialogs' poll timer */

/* Help topics */
#define HELP_GAGING_DEVICE_SETUP 1400
#define HELP_GAGE_SERVER_CONFIGURATION 1405

/* Controls that several dialogs share */
#define IDC_HELP_BUTTON 1174 /* "?" */
#define IDC_BANNER 1326      /* the title band across the top */

/* Gage Server Configuration (144) */
#define IDC_CONFIG_CONNECTION_HEAD_NAME 1100   /* "&A. Gage Interface" */
#define IDC_CONFIG_CONNECTION_HEAD_SOURCE 1101 /* "Communication Source" */
#define IDC_CONFIG_GAGE_HEAD_NAME 1102         /* "&A. Gaging Device" */
#define IDC_CONFIG_GAGE_HEAD_CONNECTION 1103   /* "Gage Interface" */
#define IDC_CONFIG_CLOSE 1176
#define IDC_CONFIG_CONNECTION_LIST 1191
#define IDC_CONFIG_GAGE_LIST 1192
#define IDC_CONFIG_EDIT 1196
#define IDC_CONFIG_DELETE 1207
#define IDC_CONFIG_ADD 1241
#define IDC_CONFIG_TABS 1313

/* Gaging Device Setup (142) */
#define IDC_SETUP_INTERFACE 1170 /* combo: the gage's connection */
#define IDC_SETUP_FORMAT 1171    /* combo: interface type and format */
#define IDC_SETUP_OK 1172
#define IDC_SETUP_CANCEL 1173
#define IDC_SETUP_CHANNEL 1177
#define IDC_SETUP_GAGE_ID 1178
#define IDC_SETUP_ZERO 1179
#define IDC_SETUP_SERIAL_NUMBER 1182
#define IDC_SETUP_ABSOLUTE 1183 /* check box */
#define IDC_SETUP_PRECISION 1184
#define IDC_SETUP_NO_READ_COMMAND 1185 /* check box */
#define IDC_SETUP_GAIN 1186
#define IDC_SETUP_FORMAT_MODIFY 1189
#define IDC_SETUP_MINIMUM_TEXT 1194 /* static: computed range of a binary format */
#define IDC_SETUP_READ_GAGE 1195
#define IDC_SETUP_MAXIMUM_TEXT IDC_CONFIG_EDIT /* 1196, static */
#define IDC_SETUP_CONTINUOUS_POLL 1197         /* check box */
#define IDC_SETUP_INIT_GAGE 1198
#define IDC_SETUP_POLL_READ 1199 /* hidden button the poll timer presses */
#define IDC_SETUP_INIT_PORT 1200
#define IDC_SETUP_FORMAT_REMOVE 1204
#define IDC_SETUP_DESCRIPTION 1208
#define IDC_SETUP_LAST_VALUE 1235 /* static: the last value read */
#define IDC_SETUP_FORMAT_CREATE IDC_CONFIG_ADD /* 1241 */
#define IDC_SETUP_MINIMUM 1304                 /* edit: range of an ASCII format */
#define IDC_SETUP_MAXIMUM 1305
#define IDC_SETUP_VALUE_BAR 1901 /* progress bar */
/* Labels that are enabled and disabled with their controls */
#define IDC_SETUP_DESCRIPTION_LABEL 1260
#define IDC_SETUP_INTERFACE_LABEL 1261
#define IDC_SETUP_FORMAT_LABEL 1262
#define IDC_SETUP_CHANNEL_LABEL 1263
#define IDC_SETUP_GAGE_ID_LABEL 1264
#define IDC_SETUP_SERIAL_NUMBER_LABEL 1265
#define IDC_SETUP_GAIN_LABEL 1266
#define IDC_SETUP_ZERO_LABEL 1267
#define IDC_SETUP_PRECISION_LABEL 1268
#define IDC_SETUP_MINIMUM_LABEL 1269
#define IDC_SETUP_MAXIMUM_LABEL 1270

/* Serial Data Monitor (147) */
#define IDD_SERIAL_MONITOR 147
#define HELP_SERIAL_MONITOR (-1)
#define IDT_MONITOR_POLL 100             /* every 50 ms */
#define IDC_MONITOR_TEXT_VIEW 1327       /* what arrived, as text */
#define IDC_MONITOR_HEX_VIEW 1330        /* the same, as hexadecimal pairs */
#define IDC_MONITOR_RAW_DATA 1301        /* radio */
#define IDC_MONITOR_HEX_DATA 1302        /* radio */
#define IDC_MONITOR_CLEAR_VIEWS 1214
#define IDC_MONITOR_INITIALIZE 1215
#define IDC_MONITOR_COPY 1216
#define IDC_MONITOR_SEND_LINE 1328
#define IDC_MONITOR_ADD_CR 1175
#define IDC_MONITOR_ADD_LF IDC_CONFIG_CLOSE      /* 1176 */
#define IDC_MONITOR_PICK_BYTE IDC_SETUP_CHANNEL  /* 1177, "..." */
#define IDC_MONITOR_SEND 1329                    /* default button */
#define IDC_MONITOR_CLOSE 1331
#define IDC_MONITOR_SEND_CRLF 1332
#define IDC_MONITOR_CLEAR_LINE 1333

/* ASCII Character Values (136) */
#define IDD_ASCII_PICKER 136
#define IDC_PICKER_LABEL IDC_CONFIG_CONNECTION_HEAD_NAME /* 1100 */
#define IDC_PICKER_LIST 1160
#define IDC_PICKER_LINE 1319 /* the working copy of the target's text */

/* Gaging Device Format Definition (141) */
#define IDD_FORMAT_DEFINITION 141
#define HELP_FORMAT_DEFINITION 1401
#define IDC_FORMAT_NOTE 1125 /* static: Initialize must be pressed first */
#define IDC_FORMAT_DESCRIPTION IDC_SETUP_DESCRIPTION       /* 1208 */
#define IDC_FORMAT_TYPE 1187                               /* drop-down list, data type */
#define IDC_FORMAT_DECIMAL_SEPARATOR 1188
#define IDC_FORMAT_FULL_SCALE 1193
#define IDC_FORMAT_RESOLUTION 1228
#define IDC_FORMAT_RECORD_LENGTH 1227
#define IDC_FORMAT_RECORD_START 1226
#define IDC_FORMAT_RECORD_START_PICK IDC_SETUP_GAGE_ID     /* 1178, "..." */
#define IDC_FORMAT_RECORD_END IDC_SETUP_ABSOLUTE           /* 1183 */
#define IDC_FORMAT_RECORD_END_PICK 1206                    /* "..." */
#define IDC_FORMAT_SEPARATOR IDC_SETUP_NO_READ_COMMAND     /* 1185 */
#define IDC_FORMAT_SEPARATOR_PICK 1209                     /* "..." */
#define IDC_FORMAT_COMBINATION 1401                        /* drop-down list */
#define IDC_FORMAT_ADVANCED 1402
#define IDC_FORMAT_RAW_BYTES IDC_SETUP_PRECISION           /* 1184, read-only */
#define IDC_FORMAT_RAW_LENGTH IDC_SETUP_GAIN               /* 1186, read-only */
#define IDC_FORMAT_READ_GAGE IDC_SETUP_READ_GAGE           /* 1195 */
#define IDC_FORMAT_INIT_GAGE IDC_CONFIG_EDIT               /* 1196 */
#define IDC_FORMAT_CONTINUOUS_POLL IDC_SETUP_CONTINUOUS_POLL /* 1197 */
#define IDC_FORMAT_INIT_PORT IDC_SETUP_INIT_GAGE           /* 1198 */
#define IDC_FORMAT_POLL_READ IDC_SETUP_POLL_READ           /* 1199, hidden */
#define IDC_FORMAT_SAVE IDC_SETUP_INIT_PORT                /* 1200 */
#define IDC_FORMAT_SAVE_AS_NEW 3
#define IDC_FORMAT_RESOLUTION_LABEL 1271
#define IDC_FORMAT_FULL_SCALE_LABEL 1272
#define IDC_FORMAT_DECIMAL_SEPARATOR_LABEL 1273
/* Field rows: base = field number, +1 start position, +2 length, +3 operator, +4 literal */
#define IDC_FORMAT_ROW_CHANNEL 1300
#define IDC_FORMAT_ROW_CODE 1310
#define IDC_FORMAT_ROW_LITERAL 1320
#define IDC_FORMAT_ROW_VALUE_A IDC_MONITOR_HEX_VIEW /* 1330 */
#define IDC_FORMAT_ROW_VALUE_B 1340
#define IDC_FORMAT_ROW_READING 1350
#define IDC_FORMAT_ROW_START 1
#define IDC_FORMAT_ROW_LENGTH 2
#define IDC_FORMAT_ROW_OPERATOR 3
#define IDC_FORMAT_ROW_LITERAL_TEXT 4
/* Sample column */
#define IDC_FORMAT_SAMPLE_CHANNEL IDC_SETUP_ZERO      /* 1179 */
#define IDC_FORMAT_SAMPLE_CODE 1233
#define IDC_FORMAT_SAMPLE_LITERAL 1234
#define IDC_FORMAT_SAMPLE_READING 1236
#define IDC_FORMAT_SAMPLE_VALUE_A 1601
#define IDC_FORMAT_SAMPLE_VALUE_B 1602

/* Advanced (140) */
#define IDD_FORMAT_ADVANCED 140
#define HELP_FORMAT_ADVANCED 1402
#define IDC_ADVANCED_HELP 9
#define IDC_ADVANCED_GAGE_INIT 1403
#define IDC_ADVANCED_MEAS_INIT 1404
#define IDC_ADVANCED_MEAS_START 1405
#define IDC_ADVANCED_MEAS_STOP 1406
#define IDC_ADVANCED_MEAS_POST 1407
#define IDC_ADVANCED_MEAS_REQUEST 1408
#define IDC_ADVANCED_MEAS_READ 1409
#define IDC_ADVANCED_SUBGROUP_START 1410
#define IDC_ADVANCED_SUBGROUP_END 1411
#define IDC_ADVANCED_DELAY 1222
#define IDC_ADVANCED_TIMEOUT 1223
#define IDC_ADVANCED_CLEAR_BEFORE 1217 /* check box */
#define IDC_ADVANCED_CLEAR_AFTER 1218  /* check box */
/* "..." buttons, each for the edit before it */
#define IDC_ADVANCED_GAGE_INIT_PICK IDC_SETUP_GAGE_ID          /* 1178 */
#define IDC_ADVANCED_MEAS_INIT_PICK IDC_FORMAT_RECORD_END_PICK /* 1206 */
#define IDC_ADVANCED_MEAS_START_PICK IDC_FORMAT_SEPARATOR_PICK /* 1209 */
#define IDC_ADVANCED_MEAS_STOP_PICK 1210
#define IDC_ADVANCED_MEAS_READ_PICK 1211
#define IDC_ADVANCED_MEAS_POST_PICK 1212
#define IDC_ADVANCED_MEAS_REQUEST_PICK IDC_CONFIG_DELETE /* 1207 */
#define IDC_ADVANCED_SUBGROUP_START_PICK 1213
#define IDC_ADVANCED_SUBGROUP_END_PICK IDC_SETUP_DESCRIPTION /* 1208 */

/* Gage Bar Columns (139): row i (0 to 19) has the controls FIRST + i */
#define IDD_GAGE_BAR_COLUMNS 139
#define HELP_GAGE_BAR_COLUMNS 1406
#define IDC_BAR_SET_ALL_LABEL 1300
#define IDC_BAR_GAGE_RANGE_LIMITS IDC_MONITOR_RAW_DATA /* 1301, radio, shown disabled */
#define IDC_BAR_SPEC_LIMITS IDC_MONITOR_HEX_DATA /* 1302, radio, shown disabled */
#define IDC_BAR_NAME_FIRST 1501        /* static: the gage's name */
#define IDC_BAR_VALUE_FIRST 1601       /* static: the last value read */
#define IDC_BAR_READ_FIRST 1701        /* "+" */
#define IDC_BAR_READ_ALL 1721          /* "+" of "Set All" */
#define IDC_BAR_POLL_FIRST 1801        /* "Poll" check box */
#define IDC_BAR_POLL_ALL 1821          /* "Poll" of "Set All" */
#define IDC_BAR_BAR_FIRST IDC_SETUP_VALUE_BAR /* 1901, progress bar */

/* Data port (149) */
#define IDD_DATA_PORT 149
#define HELP_DATA_PORT 1403
#define IDC_PORT_TYPE IDC_SETUP_INTERFACE             /* 1170, combo: interface types */
#define IDC_PORT_TYPE_NAME 1212                       /* static: the name in modify mode */
#define IDC_PORT_TYPE_CREATE IDC_CONFIG_ADD           /* 1241 */
#define IDC_PORT_TYPE_MODIFY IDC_SETUP_FORMAT_MODIFY  /* 1189 */
#define IDC_PORT_TYPE_REMOVE IDC_SETUP_FORMAT_REMOVE  /* 1204 */
#define IDC_PORT_GROUP IDC_MONITOR_SEND_CRLF          /* 1332 */
#define IDC_PORT_SOURCE_LABEL 1190
#define IDC_PORT_SOURCE 1193
#define IDC_PORT_BAUD_LABEL 1242
#define IDC_PORT_BAUD IDC_SETUP_MINIMUM_TEXT          /* 1194 */
#define IDC_PORT_PARITY_LABEL 1243
#define IDC_PORT_PARITY 1240
#define IDC_PORT_DATA_BITS_LABEL 1244
#define IDC_PORT_DATA_BITS IDC_SETUP_CONTINUOUS_POLL  /* 1197 */
#define IDC_PORT_STOP_BITS_LABEL 1245
#define IDC_PORT_STOP_BITS IDC_SETUP_INIT_GAGE        /* 1198 */
#define IDC_PORT_FLOW_LABEL 1246
#define IDC_PORT_FLOW IDC_SETUP_INIT_PORT             /* 1200 */
#define IDC_PORT_BUFFER_LABEL 1247
#define IDC_PORT_BUFFER 1202
#define IDC_PORT_IP_RADIO 1339
#define IDC_PORT_OCTET1 IDC_MONITOR_CLEAR_LINE        /* 1333 */
#define IDC_PORT_OCTET2 1320
#define IDC_PORT_OCTET3 1321
#define IDC_PORT_OCTET4 1322
#define IDC_PORT_OCTET_PORT 1323
#define IDC_PORT_DOT1 1335
#define IDC_PORT_DOT2 1336
#define IDC_PORT_DOT3 1337
#define IDC_PORT_OCTET_COLON 1338
#define IDC_PORT_HOST_RADIO 1340
#define IDC_PORT_HOST_COLON 1341
#define IDC_PORT_HOST 1342
#define IDC_PORT_HOST_PORT 1324
#define IDC_PORT_RESOLVED 1344                        /* static: the address the host resolved to */
#define IDC_PORT_MONITOR 3

/* Interface Configuration (135) */
#define IDD_INTERFACE_CONFIGURATION 135
#define HELP_INTERFACE_CONFIGURATION 1404
#define IDC_IFACE_DESCRIPTION IDC_SETUP_DESCRIPTION              /* 1208 */
#define IDC_IFACE_LIST_LABEL IDC_CONFIG_CONNECTION_HEAD_SOURCE   /* 1101 */
#define IDC_IFACE_LIST IDC_MONITOR_INITIALIZE                    /* 1215, the 20 rows */
#define IDC_IFACE_CLEAR IDC_MONITOR_CLEAR_VIEWS                  /* 1214 */
#define IDC_IFACE_CLEAR_ALL 1239
#define IDC_IFACE_UP IDC_SETUP_POLL_READ                         /* 1199 */
#define IDC_IFACE_DOWN 1201
#define IDC_IFACE_DELAY_LABEL IDC_CONFIG_GAGE_HEAD_NAME          /* 1102 */
#define IDC_IFACE_DELAY 1222
#define IDC_IFACE_STRING_LABEL IDC_CONFIG_GAGE_HEAD_CONNECTION   /* 1103 */
#define IDC_IFACE_STRING IDC_MONITOR_COPY                        /* 1216 */
#define IDC_IFACE_PICK IDC_SETUP_GAGE_ID                         /* 1178, "..." */
