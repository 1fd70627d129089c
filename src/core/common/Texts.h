#pragma once
// String ids of every text the user sees. The core reports these ids (and arguments);
// the window and the command line turn them into words through a StringTable.

namespace kavro::txt {

// Ids 100-416 are the logger utility's historical string table.
inline constexpr int AboutMenu = 101;
inline constexpr int TrlFilter = 108;
inline constexpr int KmlFilter = 111;
inline constexpr int SettingsKey = 112;
inline constexpr int AppTitle = 300;
inline constexpr int Ok = 301;
inline constexpr int Cancel = 302;
inline constexpr int ApplyAll = 303;
inline constexpr int DefaultAll = 304;
inline constexpr int TabDevice = 305;
inline constexpr int ComPort = 306;
inline constexpr int Connect = 307;
inline constexpr int Disconnect = 308;
inline constexpr int ConnectStatusMessage = 309;
inline constexpr int Connecting = 310;
inline constexpr int DeviceConnected = 311;
inline constexpr int ConnectFailed = 312;
inline constexpr int Disconnecting = 313;
inline constexpr int DeviceDisconnected = 314;
inline constexpr int TimeoutDisconnected = 315;
inline constexpr int ConnectStatus = 316;
inline constexpr int DeviceInformation = 317;
inline constexpr int DeviceType = 318;
inline constexpr int VersionLabel = 320;
inline constexpr int MemoryUsage = 321;
inline constexpr int UserName = 322;
inline constexpr int WriteName = 323;
inline constexpr int TabTrackLogSetting = 324;
inline constexpr int Overwrite = 325;
inline constexpr int FullAndStop = 326;
inline constexpr int Second = 327;
inline constexpr int SecondUnit = 328;
inline constexpr int Distance = 329;
inline constexpr int Meter = 330;
inline constexpr int ReadStatusMessage = 331;
inline constexpr int UpdatingSecond = 335;
inline constexpr int UpdatingDistance = 336;
inline constexpr int UpdatingSuccess = 337;
inline constexpr int UploadClearStatusMessage = 338;
inline constexpr int StartUploading = 339;
inline constexpr int UploadSucceed = 340;
inline constexpr int StartClearing = 341;
inline constexpr int ClearSucceed = 342;
inline constexpr int UploadLabel = 343;
inline constexpr int ClearLabel = 344;
inline constexpr int Upload = 345;
inline constexpr int Clear = 346;
inline constexpr int TransformToFile = 347;
inline constexpr int SelectDirectory = 348;
inline constexpr int TrackLogSavedDirectory = 349;
inline constexpr int CombineJpeg = 350;
inline constexpr int WriteTotalTrackLog = 351;
inline constexpr int TabTrackLogFormat = 352;
inline constexpr int ConversionGroup = 353;
inline constexpr int SourceFile = 354;
inline constexpr int TimeZoneLabel = 355;
inline constexpr int OutputFormat = 356;
inline constexpr int ConvertFormat = 357;
inline constexpr int Convert = 358;
inline constexpr int ConvertStatusMessage = 359;
inline constexpr int Converting = 360;
inline constexpr int ConvertSuccess = 361;
inline constexpr int TabTrackLogPhoto = 362;
inline constexpr int PhotoGroup = 363;
inline constexpr int PhotoDirectory = 364;
inline constexpr int PhotoCombineSetting = 365;
inline constexpr int PhotoParsed = 366;
inline constexpr int Pass = 367;
inline constexpr int Error = 368;
inline constexpr int PhotoCombined = 369;
inline constexpr int Failed = 370;
inline constexpr int PhotoTimeZone = 371;
inline constexpr int CalibrateTime = 372;
inline constexpr int Day = 373;
inline constexpr int Hour = 374;
inline constexpr int Minute = 375;
inline constexpr int SecondShort = 376;
inline constexpr int TrackLogProcessing = 377;
inline constexpr int RecordStyle = 378;
inline constexpr int UpdatingRecordStyle = 379;
inline constexpr int SelectTrlSource = 380;
inline constexpr int SelectPhotoDirectory = 381;
inline constexpr int TrackLogFileStatus = 382;
inline constexpr int CreateFileOk = 383;
inline constexpr int DeviceNotConnected = 384;
inline constexpr int Copyright = 385;
inline constexpr int VersionCaption = 386;
inline constexpr int NoPhotoDate = 387;
inline constexpr int PhotoDateFormatError = 388;
inline constexpr int NoMappingTrackPoint = 389;
inline constexpr int UserNameForbidden = 390;
inline constexpr int SelectTrackLogDirectory = 391;
inline constexpr int TransmissionInterrupt = 392;
inline constexpr int DiscardRulesIntro = 393;
inline constexpr int DiscardOutsideTrack = 394;
inline constexpr int DiscardLongGap = 395;
inline constexpr int Feet = 396;
inline constexpr int AutoDetect = 397;
inline constexpr int WriteTrackLogInPhotoGroup = 398;
inline constexpr int WriteTrackLogInPhoto = 399;
inline constexpr int TabFirmware = 400;
inline constexpr int FirmwareWarning = 401;
inline constexpr int FirmwareFile = 402;
inline constexpr int DownloadAndUpdate = 403;
inline constexpr int DownloadAndUpdateStatus = 404;
inline constexpr int InitializeDownload = 405;
inline constexpr int InitializeDownloadAgent = 406;
inline constexpr int DownloadDownloadAgent = 407;
inline constexpr int InitializeDownloadFirmware = 408;
inline constexpr int DownloadAndUpdateFirmware = 409;
inline constexpr int ProcessFinish = 410;
inline constexpr int DownloadAndUpdateSuccess = 411;
inline constexpr int SelectFirmwareFile = 412;
inline constexpr int OpenComPortFailed = 413;
inline constexpr int CameraNotSupported = 414;
inline constexpr int FirmwareContentWrong = 415;
inline constexpr int UserNameNotAscii = 416;

// Ids from 500 on are this program's own texts, grouped by the room that reports them.
// Placeholders are %1, %2, ... (filled by StringTable::Format).

// serial / protocol: 500-549
inline constexpr int PortMissing = 500;          // "The port %1 does not exist."
inline constexpr int PortBusy = 501;             // "The port %1 is in use by another program."
inline constexpr int PortPermission = 502;       // "No permission to open %1: the user must be in the \"dialout\" group."
inline constexpr int PortOtherError = 503;       // "The port %1 cannot be opened: %2"
inline constexpr int ConnectionFailedSettings = 504;  // "Connection to Device Failed"
inline constexpr int NotExifFormat = 505;        // "Not EXIF format." (same in every language)
inline constexpr int SimulatedLogger = 506;      // "Simulated T-580"
inline constexpr int ClearFailedNoDevice = 507;  // "Clear Failed! No Device Connected! "
inline constexpr int ReadAddressTimeout = 508;   // "read Address: Timeout!"
inline constexpr int NoDeviceAvailable = 509;    // "No device available"
inline constexpr int UserNameTooLong = 510;      // "User name is too long: at most 16 characters."
// kavro info / ports / set-name / settings / clear
inline constexpr int CliTimeInterval = 520;    // "Time interval"
inline constexpr int CliDistanceInterval = 521; // "Distance interval"
inline constexpr int CliRecordMode = 522;      // "Record mode"
inline constexpr int CliWritePosition = 523;   // "Write position"
inline constexpr int CliMemoryWrapped = 524;   // "Memory wrapped"
inline constexpr int CliRecordingBasis = 525;  // "Recording basis"
inline constexpr int CliTimeZone = 526;        // "Time zone"
inline constexpr int CliDistanceUnit = 527;    // "Distance unit"
inline constexpr int CliNotRead = 528;         // "not read"
inline constexpr int CliYes = 529;             // "yes"
inline constexpr int CliNo = 530;              // "no"
inline constexpr int CliTenthsOfSecond = 531;  // "%1 tenths of a second"
inline constexpr int CliTenthsOfMetre = 532;   // "%1 tenths of a metre"
inline constexpr int CliFreeRecords = 533;     // "%1 free records"
inline constexpr int CliCp210xBridge = 534;    // "CP210x bridge"
inline constexpr int CliProlificBridge = 535;  // "Prolific bridge"
inline constexpr int CliNoPorts = 536;         // "No serial port was found."
inline constexpr int CliSimulatorFailed = 537; // "The simulated logger cannot be started: %1"
inline constexpr int CliBadListValue = 538;    // "%1 %2 is not in the list; choose one of: %3"
inline constexpr int CliSettingsLocked = 539;  // "The logger has 3 or fewer free records: its recording settings cannot be changed."
inline constexpr int CliNeedPort = 540;        // "Name the logger's port with --port PATH, or use --simulate[=SCENARIO]."
inline constexpr int CliUnknownScenario = 541; // "Unknown scenario \"%1\"; choose one of: %2"
inline constexpr int CliNameSent = 542;        // "User name sent to the logger: %1"
inline constexpr int CliLoggerGone = 543;      // "The logger stopped answering on %1."

// gui: 550-599; track and convert: 600-649; photo: 650-699; command line: 700-799.

// track and convert: 600-649
inline constexpr int CreateFileFailed = 600;   // "Create File Failed %1: %2"
inline constexpr int SourceOpenFailed = 601;   // "The file %1 cannot be opened: %2"
inline constexpr int OutputCreateFailed = 602; // "The file %1 cannot be created: %2"
inline constexpr int OutputWriteFailed = 603;  // "The file %1 could not be written completely and was not saved: %2"
inline constexpr int MemoryImageSize = 604;    // "The file %1 holds %2 bytes; a log memory image holds exactly %3 bytes."
inline constexpr int FormatText = 605;         // "Text(*.txt)"
inline constexpr int FormatKml = 606;          // "Google Earth(*.kml)"
inline constexpr int FormatNmea = 607;         // "NMEA(*.txt)"
inline constexpr int FormatGpx = 608;          // "GPX(*.gpx)"
inline constexpr int ZoneNotInTable = 609;     // "Unknown time zone \"%1\". Use a label of the table, for example +08:00, -03:30 or 00:00."
inline constexpr int ConvertFailed = 610;      // "Convert Failed!"
inline constexpr int MissingArgument = 611;    // "Missing argument: %1"
inline constexpr int UnknownOption = 612;      // "Unknown option: %1"
inline constexpr int NoTrackRecords = 613;     // "No track log record was found."
inline constexpr int DirectoryMissing = 614;   // "The directory %1 does not exist."
inline constexpr int OutputIsSource = 615;     // "The output %1 would replace its own source file."

// photo: 650-699
inline constexpr int PhotoOpenFailed = 650;        // "The file cannot be opened: %1"
inline constexpr int TrackOpenFailed = 651;        // "The track log file %1 cannot be opened: %2"
inline constexpr int PhotoDirectoryFailed = 652;   // "The photo directory %1 cannot be read: %2"
inline constexpr int PhotoLayoutRefused = 653;     // "The EXIF layout of this photo is not supported; no copy was written."
inline constexpr int TooManyPhotos = 654;          // "Only the first %1 photos are read."
inline constexpr int FileWriteFailed = 655;        // "The file %1 cannot be written: %2"
inline constexpr int CalibrationFormat = 656;      // "The calibration must be D:H:M:S, for example 0:1:-5:30."
inline constexpr int UnknownZone = 657;            // "Unknown time zone: %1"
inline constexpr int GpsCopyFailed = 658;          // "The copy %1 cannot be written: %2"

// log download: 790-819
inline constexpr int UploadFailedNoDevice = 790;   // "Upload Failed! No Device Connected! "
inline constexpr int DownloadProgressLine = 791;   // "%1% received (%2 KB/s, %3 left)"
inline constexpr int DownloadProgressPlain = 792;  // "%1% received"

}  // namespace kavro::txt
