<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Kavro</name>
    <message>
        <source>&amp;About Kavro Logger Utility...</source>
        <comment>101</comment>
        <translation>&amp;Über Kavro Logger Utility...</translation>
    </message>
    <message>
        <source>Track Log (*.trl)|*.trl|</source>
        <comment>108</comment>
        <translation>Track-Log (*.trl)|*.trl|</translation>
    </message>
    <message>
        <source>Track Log (*.kml)|*.kml|</source>
        <comment>111</comment>
        <translation>Track-Log (*.kml)|*.kml|</translation>
    </message>
    <message>
        <source>Software\Kavro\T580</source>
        <comment>112</comment>
        <translation>Software\Kavro\T580</translation>
    </message>
    <message>
        <source>Kavro Logger Utility</source>
        <comment>300</comment>
        <translation>Kavro Logger Utility</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>301</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>302</comment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Apply All</source>
        <comment>303</comment>
        <translation>Alle übernehmen</translation>
    </message>
    <message>
        <source>Default All</source>
        <comment>304</comment>
        <translation>Alle zurücksetzen</translation>
    </message>
    <message>
        <source>Device Setting</source>
        <comment>305</comment>
        <translation>Geräteeinstellung</translation>
    </message>
    <message>
        <source>COM Port</source>
        <comment>306</comment>
        <translation>COM-Anschluss</translation>
    </message>
    <message>
        <source>Connect</source>
        <comment>307</comment>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <comment>308</comment>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Connect Status Message</source>
        <comment>309</comment>
        <translation>Verbindungsstatus-Meldung</translation>
    </message>
    <message>
        <source>Connecting to device...</source>
        <comment>310</comment>
        <translation>Verbindung zum Gerät wird hergestellt...</translation>
    </message>
    <message>
        <source>Device Connected!</source>
        <comment>311</comment>
        <translation>Gerät verbunden!</translation>
    </message>
    <message>
        <source>Failed connecting to device!</source>
        <comment>312</comment>
        <translation>Verbindung zum Gerät fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Disconnecting device...</source>
        <comment>313</comment>
        <translation>Gerät wird getrennt...</translation>
    </message>
    <message>
        <source>Device Disconnected!</source>
        <comment>314</comment>
        <translation>Gerät getrennt!</translation>
    </message>
    <message>
        <source>Timeout. Device Disconnected!</source>
        <comment>315</comment>
        <translation>Zeitüberschreitung. Gerät getrennt!</translation>
    </message>
    <message>
        <source>Connect Status</source>
        <comment>316</comment>
        <translation>Verbindungsstatus</translation>
    </message>
    <message>
        <source>Device Information</source>
        <comment>317</comment>
        <translation>Geräteinformationen</translation>
    </message>
    <message>
        <source>Device Type</source>
        <comment>318</comment>
        <translation>Gerätetyp</translation>
    </message>
    <message>
        <source>[FW] [HW] Version</source>
        <comment>320</comment>
        <translation>[FW] [HW] Version</translation>
    </message>
    <message>
        <source>Memory Usage</source>
        <comment>321</comment>
        <translation>Speichernutzung</translation>
    </message>
    <message>
        <source>User Name</source>
        <comment>322</comment>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Write Name</source>
        <comment>323</comment>
        <translation>Namen schreiben</translation>
    </message>
    <message>
        <source>Track Log Setting</source>
        <comment>324</comment>
        <translation>Track-Log-Einstellung</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <comment>325</comment>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Full and Stop</source>
        <comment>326</comment>
        <translation>Voll und Stopp</translation>
    </message>
    <message>
        <source>Second</source>
        <comment>327</comment>
        <translation>Sekunde</translation>
    </message>
    <message>
        <source>sec.</source>
        <comment>328</comment>
        <translation>Sek.</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>329</comment>
        <translation>Entfernung</translation>
    </message>
    <message>
        <source>meter</source>
        <comment>330</comment>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Read Status Message</source>
        <comment>331</comment>
        <translation>Lesestatus-Meldung</translation>
    </message>
    <message>
        <source>Updating Second Settings...</source>
        <comment>335</comment>
        <translation>Sekundeneinstellung wird aktualisiert...</translation>
    </message>
    <message>
        <source>Updating Distance Settings...</source>
        <comment>336</comment>
        <translation>Entfernungseinstellung wird aktualisiert...</translation>
    </message>
    <message>
        <source>Updating Settings Successfully!</source>
        <comment>337</comment>
        <translation>Einstellungen erfolgreich aktualisiert!</translation>
    </message>
    <message>
        <source>Upload/Clear Status Message</source>
        <comment>338</comment>
        <translation>Auslesen/Löschen-Statusmeldung</translation>
    </message>
    <message>
        <source>Start Uploading...</source>
        <comment>339</comment>
        <translation>Auslesen wird gestartet...</translation>
    </message>
    <message>
        <source>Upload Succeed!</source>
        <comment>340</comment>
        <translation>Auslesen erfolgreich!</translation>
    </message>
    <message>
        <source>Start Clearing...</source>
        <comment>341</comment>
        <translation>Löschen wird gestartet...</translation>
    </message>
    <message>
        <source>Clear Succeed!</source>
        <comment>342</comment>
        <translation>Löschen erfolgreich!</translation>
    </message>
    <message>
        <source>Upload Device Track Log Data to PC</source>
        <comment>343</comment>
        <translation>Track-Log-Daten des Geräts auf den PC laden</translation>
    </message>
    <message>
        <source>Clear Device Track Log Data</source>
        <comment>344</comment>
        <translation>Track-Log-Daten des Geräts löschen</translation>
    </message>
    <message>
        <source>Upload</source>
        <comment>345</comment>
        <translation>Auslesen</translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>346</comment>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Transform to File</source>
        <comment>347</comment>
        <translation>In Datei umwandeln</translation>
    </message>
    <message>
        <source>Please select the directory</source>
        <comment>348</comment>
        <translation>Bitte wählen Sie das Verzeichnis</translation>
    </message>
    <message>
        <source>Track Log File Saved Directory</source>
        <comment>349</comment>
        <translation>Speicherverzeichnis der Track-Log-Dateien</translation>
    </message>
    <message>
        <source>Combine JPEG File</source>
        <comment>350</comment>
        <translation>JPEG-Dateien verknüpfen</translation>
    </message>
    <message>
        <source>Write Total Track Log</source>
        <comment>351</comment>
        <translation>Gesamt-Track-Log schreiben</translation>
    </message>
    <message>
        <source>Track Log Format</source>
        <comment>352</comment>
        <translation>Track-Log-Format</translation>
    </message>
    <message>
        <source>Track Log File Format Conversion</source>
        <comment>353</comment>
        <translation>Umwandlung des Track-Log-Dateiformats</translation>
    </message>
    <message>
        <source>Source File(*.trl):</source>
        <comment>354</comment>
        <translation>Quelldatei(*.trl):</translation>
    </message>
    <message>
        <source>Time Zone(UTC+-):</source>
        <comment>355</comment>
        <translation>Zeitzone(UTC+-):</translation>
    </message>
    <message>
        <source>Output Format:</source>
        <comment>356</comment>
        <translation>Ausgabeformat:</translation>
    </message>
    <message>
        <source>Convert Format:</source>
        <comment>357</comment>
        <translation>Zielformat:</translation>
    </message>
    <message>
        <source>Convert</source>
        <comment>358</comment>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Convert Status Message</source>
        <comment>359</comment>
        <translation>Umwandlungsstatus-Meldung</translation>
    </message>
    <message>
        <source>Converting...</source>
        <comment>360</comment>
        <translation>Wird umgewandelt...</translation>
    </message>
    <message>
        <source>Convert Successfully!</source>
        <comment>361</comment>
        <translation>Erfolgreich umgewandelt!</translation>
    </message>
    <message>
        <source>Track Log Photo</source>
        <comment>362</comment>
        <translation>Track-Log-Foto</translation>
    </message>
    <message>
        <source>Combine Photo Link in Track Log</source>
        <comment>363</comment>
        <translation>Fotoverknüpfung im Track-Log</translation>
    </message>
    <message>
        <source>JPEG(*.jpg) Photo Directory:</source>
        <comment>364</comment>
        <translation>JPEG(*.jpg)-Fotoverzeichnis:</translation>
    </message>
    <message>
        <source>Photo Combine Setting</source>
        <comment>365</comment>
        <translation>Fotoverknüpfungs-Einstellung</translation>
    </message>
    <message>
        <source>Photo Parsed</source>
        <comment>366</comment>
        <translation>Ausgewertete Fotos</translation>
    </message>
    <message>
        <source>Pass:</source>
        <comment>367</comment>
        <translation>Erfolgreich:</translation>
    </message>
    <message>
        <source>Error:</source>
        <comment>368</comment>
        <translation>Fehler:</translation>
    </message>
    <message>
        <source>Photo Combined</source>
        <comment>369</comment>
        <translation>Verknüpfte Fotos</translation>
    </message>
    <message>
        <source>Failed:</source>
        <comment>370</comment>
        <translation>Fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Time Zone For Photos(UTC+-):</source>
        <comment>371</comment>
        <translation>Zeitzone der Fotos(UTC+-):</translation>
    </message>
    <message>
        <source>Calibrate Time(Speed up(+) or slow down(-) your camera time to equal to device showing time):</source>
        <comment>372</comment>
        <translation>Zeit abgleichen (Kamerazeit vor(+) oder zurück(-) stellen, bis sie der vom Gerät angezeigten Zeit entspricht):</translation>
    </message>
    <message>
        <source>Day</source>
        <comment>373</comment>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Hour</source>
        <comment>374</comment>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Min.</source>
        <comment>375</comment>
        <translation>Min.</translation>
    </message>
    <message>
        <source>Sec.</source>
        <comment>376</comment>
        <translation>Sek.</translation>
    </message>
    <message>
        <source>Track Log Processing</source>
        <comment>377</comment>
        <translation>Track-Log-Verarbeitung</translation>
    </message>
    <message>
        <source>Record Style</source>
        <comment>378</comment>
        <translation>Aufzeichnungsart</translation>
    </message>
    <message>
        <source>Updating Record Style Settings...</source>
        <comment>379</comment>
        <translation>Einstellung der Aufzeichnungsart wird aktualisiert...</translation>
    </message>
    <message>
        <source>Please select Kavro track log source file(*.trl).</source>
        <comment>380</comment>
        <translation>Bitte wählen Sie die Kavro-Track-Log-Quelldatei(*.trl).</translation>
    </message>
    <message>
        <source>Please select photo directory.</source>
        <comment>381</comment>
        <translation>Bitte wählen Sie das Fotoverzeichnis.</translation>
    </message>
    <message>
        <source>Track Log File Status</source>
        <comment>382</comment>
        <translation>Track-Log-Dateistatus</translation>
    </message>
    <message>
        <source>Create File OK</source>
        <comment>383</comment>
        <translation>Datei erstellt</translation>
    </message>
    <message>
        <source>Device not connected!</source>
        <comment>384</comment>
        <translation>Gerät nicht verbunden!</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Kavro. All rights reserved.</source>
        <comment>385</comment>
        <translation>Copyright (C) 2026 Kavro. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>KavroUtility Version</source>
        <comment>386</comment>
        <translation>KavroUtility Version</translation>
    </message>
    <message>
        <source>No found photo taken date time.</source>
        <comment>387</comment>
        <translation>Aufnahmedatum und -zeit des Fotos nicht gefunden.</translation>
    </message>
    <message>
        <source>Photo taken date time format error.</source>
        <comment>388</comment>
        <translation>Aufnahmedatum und -zeit des Fotos im falschen Format.</translation>
    </message>
    <message>
        <source>No mapping any track log point.</source>
        <comment>389</comment>
        <translation>Keinem Track-Log-Punkt zugeordnet.</translation>
    </message>
    <message>
        <source>UserName is not Correct!! It can&apos;t contain any of these characters: * (space) . \ : / &quot; ? &lt; &gt; |</source>
        <comment>390</comment>
        <translation>Benutzername ist nicht korrekt!! Er darf keines dieser Zeichen enthalten: * (Leerzeichen) . \ : / &quot; ? &lt; &gt; |</translation>
    </message>
    <message>
        <source>Please select track log file directory.</source>
        <comment>391</comment>
        <translation>Bitte wählen Sie das Verzeichnis der Track-Log-Dateien.</translation>
    </message>
    <message>
        <source>Transmission interrupt !</source>
        <comment>392</comment>
        <translation>Übertragung unterbrochen!</translation>
    </message>
    <message>
        <source>A photo is discarded when:</source>
        <comment>393</comment>
        <translation>Ein Foto wird verworfen, wenn:</translation>
    </message>
    <message>
        <source>It was taken earlier than the first or later than the last track log point.</source>
        <comment>394</comment>
        <translation>es vor dem ersten oder nach dem letzten Track-Log-Punkt aufgenommen wurde.</translation>
    </message>
    <message>
        <source>It was taken between two track log points that are more than 2 minutes apart.</source>
        <comment>395</comment>
        <translation>es zwischen zwei Track-Log-Punkten aufgenommen wurde, die mehr als 2 Minuten auseinanderliegen.</translation>
    </message>
    <message>
        <source>ft</source>
        <comment>396</comment>
        <translation>ft</translation>
    </message>
    <message>
        <source>Auto Detect</source>
        <comment>397</comment>
        <translation>Automatisch erkennen</translation>
    </message>
    <message>
        <source>Write Track Log Record in Photo</source>
        <comment>398</comment>
        <translation>Track-Log-Daten in Foto schreiben</translation>
    </message>
    <message>
        <source>Write track log record in photo.(System creates new photo file: *_GPS.jpg)</source>
        <comment>399</comment>
        <translation>Track-Log-Daten in das Foto schreiben.(Das System erstellt eine neue Fotodatei: *_GPS.jpg)</translation>
    </message>
    <message>
        <source>Download and Update Firmware</source>
        <comment>400</comment>
        <translation>Firmware herunterladen und aktualisieren</translation>
    </message>
    <message>
        <source>[Warning] Download and update firmware is the very dangerous operation, it may destroy the device system if careless. Please make sure the firmware file format and content is correct before downloading ,and please don&apos;t disconnect cable from device or PC site.</source>
        <comment>401</comment>
        <translation>[Warnung] Das Herunterladen und Aktualisieren der Firmware ist ein sehr gefährlicher Vorgang; bei Unachtsamkeit kann das Gerätesystem zerstört werden. Bitte stellen Sie vor dem Herunterladen sicher, dass Format und Inhalt der Firmware-Datei korrekt sind, und trennen Sie das Kabel weder am Gerät noch am PC.</translation>
    </message>
    <message>
        <source>Update Firmware File(*.bin):</source>
        <comment>402</comment>
        <translation>Firmware-Datei für die Aktualisierung(*.bin):</translation>
    </message>
    <message>
        <source>Download and Update</source>
        <comment>403</comment>
        <translation>Herunterladen und aktualisieren</translation>
    </message>
    <message>
        <source>Download and Update Status</source>
        <comment>404</comment>
        <translation>Status von Herunterladen und Aktualisierung</translation>
    </message>
    <message>
        <source>Initialize Download...</source>
        <comment>405</comment>
        <translation>Herunterladen wird vorbereitet...</translation>
    </message>
    <message>
        <source>Initialize Download Agent(DA)...</source>
        <comment>406</comment>
        <translation>Download-Agent(DA) wird vorbereitet...</translation>
    </message>
    <message>
        <source>Download Download Agent(DA)...</source>
        <comment>407</comment>
        <translation>Download-Agent(DA) wird geladen...</translation>
    </message>
    <message>
        <source>Initialize Download Firmware...</source>
        <comment>408</comment>
        <translation>Firmware-Download wird vorbereitet...</translation>
    </message>
    <message>
        <source>Download and Update Firmware...</source>
        <comment>409</comment>
        <translation>Firmware wird heruntergeladen und aktualisiert...</translation>
    </message>
    <message>
        <source>Process Finish Procedure...</source>
        <comment>410</comment>
        <translation>Abschluss wird ausgeführt...</translation>
    </message>
    <message>
        <source>Download and Update Successfully</source>
        <comment>411</comment>
        <translation>Herunterladen und Aktualisieren erfolgreich</translation>
    </message>
    <message>
        <source>Please select firmware file(*.bin)</source>
        <comment>412</comment>
        <translation>Bitte wählen Sie die Firmware-Datei(*.bin)</translation>
    </message>
    <message>
        <source>Open COM Port failed! Please select correct COM Port and then download again.</source>
        <comment>413</comment>
        <translation>Öffnen des COM-Anschlusses fehlgeschlagen! Bitte wählen Sie den richtigen COM-Anschluss und laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>No support this camera photo EXIF format, and can&apos;t write track log record into this photo.</source>
        <comment>414</comment>
        <translation>Das EXIF-Format dieser Kamera wird nicht unterstützt; die Track-Log-Daten können nicht in dieses Foto geschrieben werden.</translation>
    </message>
    <message>
        <source>The firmware file content is wrong, please select correct firmware file and then download again.</source>
        <comment>415</comment>
        <translation>Der Inhalt der Firmware-Datei ist fehlerhaft. Bitte wählen Sie die richtige Firmware-Datei und laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>User name is not correct! (Allow only ASCII English alphabet and symbol)</source>
        <comment>416</comment>
        <translation>Benutzername ist nicht korrekt! (Nur ASCII-Buchstaben und -Symbole erlaubt)</translation>
    </message>
    <message>
        <source>The port %1 does not exist.</source>
        <comment>500</comment>
        <translation>Der Anschluss %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program.</source>
        <comment>501</comment>
        <translation>Der Anschluss %1 wird von einem anderen Programm verwendet.</translation>
    </message>
    <message>
        <source>No permission to open %1: install the kavro-utility package, whose udev rule lets the logged-in user open the logger&apos;s USB bridge (plug the logger in again afterwards), or join the &quot;dialout&quot; group and log in again.</source>
        <comment>502</comment>
        <translation>Keine Berechtigung zum Öffnen von %1: Installieren Sie das Paket kavro-utility, dessen udev-Regel dem angemeldeten Benutzer den USB-Adapter des Loggers öffnet (den Logger danach neu einstecken), oder treten Sie der Gruppe &quot;dialout&quot; bei und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>The port %1 cannot be opened: %2</source>
        <comment>503</comment>
        <translation>Der Anschluss %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Connection to Device Failed</source>
        <comment>504</comment>
        <translation>Verbindung zum Gerät fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not EXIF format.</source>
        <comment>505</comment>
        <translation>Not EXIF format.</translation>
    </message>
    <message>
        <source>Simulated T-580</source>
        <comment>506</comment>
        <translation>Simulierter T-580</translation>
    </message>
    <message>
        <source>Clear Failed! No Device Connected! </source>
        <comment>507</comment>
        <translation>Löschen fehlgeschlagen! Kein Gerät verbunden! </translation>
    </message>
    <message>
        <source>read Address: Timeout!</source>
        <comment>508</comment>
        <translation>Adresse lesen: Zeitüberschreitung!</translation>
    </message>
    <message>
        <source>No device available</source>
        <comment>509</comment>
        <translation>Kein Gerät verfügbar</translation>
    </message>
    <message>
        <source>User name is too long: at most 16 characters.</source>
        <comment>510</comment>
        <translation>Der Benutzername ist zu lang: höchstens 16 Zeichen.</translation>
    </message>
    <message>
        <source>%1 is not a serial port.</source>
        <comment>519</comment>
        <translation>%1 ist kein serieller Anschluss.</translation>
    </message>
    <message>
        <source>Create File Failed %1: %2</source>
        <comment>600</comment>
        <translation>Datei konnte nicht erstellt werden %1: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be opened: %2</source>
        <comment>601</comment>
        <translation>Die Datei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be created: %2</source>
        <comment>602</comment>
        <translation>Die Datei %1 kann nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be written completely and was not saved: %2</source>
        <comment>603</comment>
        <translation>Die Datei %1 konnte nicht vollständig geschrieben werden und wurde nicht gespeichert: %2</translation>
    </message>
    <message>
        <source>The file %1 holds %2 bytes; a log memory image holds exactly %3 bytes.</source>
        <comment>604</comment>
        <translation>Die Datei %1 enthält %2 Bytes; ein Abbild des Log-Speichers enthält genau %3 Bytes.</translation>
    </message>
    <message>
        <source>Text(*.txt)</source>
        <comment>605</comment>
        <translation>Text(*.txt)</translation>
    </message>
    <message>
        <source>Google Earth(*.kml)</source>
        <comment>606</comment>
        <translation>Google Earth(*.kml)</translation>
    </message>
    <message>
        <source>NMEA(*.txt)</source>
        <comment>607</comment>
        <translation>NMEA(*.txt)</translation>
    </message>
    <message>
        <source>GPX(*.gpx)</source>
        <comment>608</comment>
        <translation>GPX(*.gpx)</translation>
    </message>
    <message>
        <source>Unknown time zone &quot;%1&quot;. Use a label of the table, for example +08:00, -03:30 or 00:00.</source>
        <comment>609</comment>
        <translation>Unbekannte Zeitzone &quot;%1&quot;. Verwenden Sie eine Bezeichnung aus der Tabelle, zum Beispiel +08:00, -03:30 oder 00:00.</translation>
    </message>
    <message>
        <source>Convert Failed!</source>
        <comment>610</comment>
        <translation>Umwandlung fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Missing argument: %1</source>
        <comment>611</comment>
        <translation>Fehlendes Argument: %1</translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <comment>612</comment>
        <translation>Unbekannte Option: %1</translation>
    </message>
    <message>
        <source>No track log record was found.</source>
        <comment>613</comment>
        <translation>Es wurde kein Track-Log-Datensatz gefunden.</translation>
    </message>
    <message>
        <source>The directory %1 does not exist.</source>
        <comment>614</comment>
        <translation>Das Verzeichnis %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The output %1 would replace its own source file.</source>
        <comment>615</comment>
        <translation>Die Ausgabe %1 würde ihre eigene Quelldatei ersetzen.</translation>
    </message>
    <message>
        <source>GPX track (*.gpx)</source>
        <comment>616</comment>
        <translation>GPX-Track (*.gpx)</translation>
    </message>
    <message>
        <source>The file cannot be opened: %1</source>
        <comment>650</comment>
        <translation>Die Datei kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The track log file %1 cannot be opened: %2</source>
        <comment>651</comment>
        <translation>Die Track-Log-Datei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The photo directory %1 cannot be read: %2</source>
        <comment>652</comment>
        <translation>Das Fotoverzeichnis %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The EXIF layout of this photo is not supported; no copy was written.</source>
        <comment>653</comment>
        <translation>Der EXIF-Aufbau dieses Fotos wird nicht unterstützt; es wurde keine Kopie geschrieben.</translation>
    </message>
    <message>
        <source>Only the first %1 photos are read.</source>
        <comment>654</comment>
        <translation>Nur die ersten %1 Fotos werden gelesen.</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2</source>
        <comment>655</comment>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The calibration must be D:H:M:S, for example 0:1:-5:30, with days from -%1 to %1, hours from -%2 to %2, minutes from -%3 to %3 and seconds from -%4 to %4.</source>
        <comment>656</comment>
        <translation>Die Kalibrierung muss die Form T:H:M:S (Tage:Stunden:Minuten:Sekunden) haben, zum Beispiel 0:1:-5:30, mit Tagen von -%1 bis %1, Stunden von -%2 bis %2, Minuten von -%3 bis %3 und Sekunden von -%4 bis %4.</translation>
    </message>
    <message>
        <source>Unknown time zone: %1</source>
        <comment>657</comment>
        <translation>Unbekannte Zeitzone: %1</translation>
    </message>
    <message>
        <source>The copy %1 cannot be written: %2</source>
        <comment>658</comment>
        <translation>Die Kopie %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Time interval</source>
        <comment>520</comment>
        <translation>Zeitintervall</translation>
    </message>
    <message>
        <source>Distance interval</source>
        <comment>521</comment>
        <translation>Entfernungsintervall</translation>
    </message>
    <message>
        <source>Record mode</source>
        <comment>522</comment>
        <translation>Aufzeichnungsmodus</translation>
    </message>
    <message>
        <source>Write position</source>
        <comment>523</comment>
        <translation>Schreibposition</translation>
    </message>
    <message>
        <source>Memory wrapped</source>
        <comment>524</comment>
        <translation>Speicher übergelaufen</translation>
    </message>
    <message>
        <source>Recording basis</source>
        <comment>525</comment>
        <translation>Aufzeichnungsgrundlage</translation>
    </message>
    <message>
        <source>Time zone</source>
        <comment>526</comment>
        <translation>Zeitzone</translation>
    </message>
    <message>
        <source>Distance unit</source>
        <comment>527</comment>
        <translation>Entfernungseinheit</translation>
    </message>
    <message>
        <source>not read</source>
        <comment>528</comment>
        <translation>nicht gelesen</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>529</comment>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <comment>530</comment>
        <translation>nein</translation>
    </message>
    <message>
        <source>%1 tenths of a second</source>
        <comment>531</comment>
        <translation>%1 Zehntelsekunden</translation>
    </message>
    <message>
        <source>%1 tenths of a metre</source>
        <comment>532</comment>
        <translation>%1 Zehntelmeter</translation>
    </message>
    <message>
        <source>%1 free records</source>
        <comment>533</comment>
        <translation>%1 freie Datensätze</translation>
    </message>
    <message>
        <source>CP210x bridge</source>
        <comment>534</comment>
        <translation>CP210x-Brücke</translation>
    </message>
    <message>
        <source>Prolific bridge</source>
        <comment>535</comment>
        <translation>Prolific-Brücke</translation>
    </message>
    <message>
        <source>No serial port was found.</source>
        <comment>536</comment>
        <translation>Es wurde kein serieller Anschluss gefunden.</translation>
    </message>
    <message>
        <source>The simulated logger cannot be started: %1</source>
        <comment>537</comment>
        <translation>Der simulierte Logger kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>%1 %2 is not in the list; choose one of: %3</source>
        <comment>538</comment>
        <translation>%1 %2 ist nicht in der Liste; wählen Sie eines von: %3</translation>
    </message>
    <message>
        <source>The logger has 3 or fewer free records: its recording settings cannot be changed.</source>
        <comment>539</comment>
        <translation>Der Logger hat 3 oder weniger freie Datensätze: Seine Aufzeichnungseinstellungen können nicht geändert werden.</translation>
    </message>
    <message>
        <source>Name the logger&apos;s port with --port PATH, or use --simulate[=SCENARIO].</source>
        <comment>540</comment>
        <translation>Geben Sie den Anschluss des Loggers mit --port PFAD an oder verwenden Sie --simulate[=SZENARIO].</translation>
    </message>
    <message>
        <source>Unknown scenario &quot;%1&quot;; choose one of: %2</source>
        <comment>541</comment>
        <translation>Unbekanntes Szenario &quot;%1&quot;; wählen Sie eines von: %2</translation>
    </message>
    <message>
        <source>User name sent to the logger: %1</source>
        <comment>542</comment>
        <translation>Benutzername an den Logger gesendet: %1</translation>
    </message>
    <message>
        <source>The logger stopped answering on %1.</source>
        <comment>543</comment>
        <translation>Der Logger antwortet nicht mehr auf %1.</translation>
    </message>
    <message>
        <source>No geotagged copy of %1: %2</source>
        <comment>710</comment>
        <translation>Keine geotaggte Kopie von %1: %2</translation>
    </message>
    <message>
        <source>the layout of its EXIF data is not supported</source>
        <comment>711</comment>
        <translation>das Layout seiner EXIF-Daten wird nicht unterstützt</translation>
    </message>
    <message>
        <source>the matched track point has no valid latitude, longitude or altitude (a damaged record)</source>
        <comment>712</comment>
        <translation>der zugeordnete Trackpunkt hat keine gültige Breite, Länge oder Höhe (ein beschädigter Datensatz)</translation>
    </message>
    <message>
        <source>Geotagged copies written: %1 of %2</source>
        <comment>713</comment>
        <translation>Geotaggte Kopien geschrieben: %1 von %2</translation>
    </message>
    <message>
        <source>Geotagged copies not written: %1</source>
        <comment>714</comment>
        <translation>Nicht geschriebene geotaggte Kopien: %1</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <comment>750</comment>
        <translation>Unbekannter Befehl: %1</translation>
    </message>
    <message>
        <source>Run &quot;%1 --help&quot; to see the options.</source>
        <comment>751</comment>
        <translation>Mit &quot;%1 --help&quot; werden die Optionen angezeigt.</translation>
    </message>
    <message>
        <source>The firmware image is %1 bytes, larger than the %2 bytes the logger can take. Please select the correct firmware file.</source>
        <comment>760</comment>
        <translation>Das Firmware-Abbild ist %1 Bytes groß, mehr als die %2 Bytes, die das Gerät aufnehmen kann. Bitte wählen Sie die richtige Firmware-Datei.</translation>
    </message>
    <message>
        <source>The firmware image copy cannot be written in the folder %1. Please put the firmware file in a folder you can write to and then download again.</source>
        <comment>761</comment>
        <translation>Die Kopie des Firmware-Abbilds kann im Ordner %1 nicht geschrieben werden. Bitte legen Sie die Firmware-Datei in einen beschreibbaren Ordner und laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger&apos;s boot ROM did not answer. The firmware was not changed.</source>
        <comment>762</comment>
        <translation>Herunterladen und Aktualisieren fehlgeschlagen: Das Boot-ROM des Geräts hat nicht geantwortet. Die Firmware wurde nicht geändert.</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger stopped answering during the transfer. Please download again.</source>
        <comment>763</comment>
        <translation>Herunterladen und Aktualisieren fehlgeschlagen: Das Gerät hat während der Übertragung nicht mehr geantwortet. Bitte laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger refused the firmware. Please select the correct firmware file and then download again.</source>
        <comment>764</comment>
        <translation>Herunterladen und Aktualisieren fehlgeschlagen: Das Gerät hat die Firmware abgelehnt. Bitte wählen Sie die richtige Firmware-Datei und laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>Download and Update Failed: the download agent (DA*.bin) or the scatter file (scat.txt) beside the program is missing or damaged, or the firmware image is empty.</source>
        <comment>765</comment>
        <translation>Herunterladen und Aktualisieren fehlgeschlagen: Der Download-Agent (DA*.bin) oder die Scatter-Datei (scat.txt) neben dem Programm fehlt oder ist beschädigt, oder das Firmware-Abbild ist leer.</translation>
    </message>
    <message>
        <source>Download and Update Failed: the connection to the logger was lost. Please check the cable and then download again.</source>
        <comment>766</comment>
        <translation>Herunterladen und Aktualisieren fehlgeschlagen: Die Verbindung zum Gerät wurde unterbrochen. Bitte prüfen Sie das Kabel und laden Sie erneut herunter.</translation>
    </message>
    <message>
        <source>Kavro T-580 Firmware (*.bin)</source>
        <comment>767</comment>
        <translation>Kavro-T-580-Firmware (*.bin)</translation>
    </message>
    <message>
        <source>Bluetooth address of the logger: %1</source>
        <comment>768</comment>
        <translation>Bluetooth-Adresse des Geräts: %1</translation>
    </message>
    <message>
        <source>Saved Bluetooth address: %1</source>
        <comment>769</comment>
        <translation>Gespeicherte Bluetooth-Adresse: %1</translation>
    </message>
    <message>
        <source>none</source>
        <comment>770</comment>
        <translation>keine</translation>
    </message>
    <message>
        <source>The logger did not tell its Bluetooth address.</source>
        <comment>771</comment>
        <translation>Das Gerät hat seine Bluetooth-Adresse nicht genannt.</translation>
    </message>
    <message>
        <source>Upload Failed! No Device Connected! </source>
        <comment>790</comment>
        <translation>Auslesen fehlgeschlagen! Kein Gerät verbunden! </translation>
    </message>
    <message>
        <source>%1% received (%2 KB/s, %3 left)</source>
        <comment>791</comment>
        <translation>%1 % empfangen (%2 KB/s, noch %3)</translation>
    </message>
    <message>
        <source>%1% received</source>
        <comment>792</comment>
        <translation>%1 % empfangen</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2 of its records are valid. Nothing was written.</source>
        <comment>640</comment>
        <translation>Die Datei %1 ist keine Track-Log-Datei: nur %2 ihrer Datensätze sind gültig. Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Upload finished, but %1 of the files could not be written.</source>
        <comment>800</comment>
        <translation>Auslesen beendet, aber %1 der Dateien konnten nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>560</comment>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <comment>561</comment>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Erase all track data on the logger? This cannot be undone.</source>
        <comment>545</comment>
        <translation>Alle Track-Daten auf dem Logger löschen? Dies kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <comment>700</comment>
        <translation>[j/N]</translation>
    </message>
    <message>
        <source>There is no terminal to ask on: add --yes to go ahead.</source>
        <comment>701</comment>
        <translation>Es gibt kein Terminal für die Rückfrage: mit --yes wird fortgefahren.</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <comment>702</comment>
        <translation>Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Write the firmware %1 (version %2) into the logger on %3? Do not disconnect the cable until the update has finished.</source>
        <comment>780</comment>
        <translation>Die Firmware %1 (Version %2) in den Logger an %3 schreiben? Trennen Sie das Kabel nicht, bevor die Aktualisierung abgeschlossen ist.</translation>
    </message>
    <message>
        <source>Write the firmware %1 into the logger on %2? Do not disconnect the cable until the update has finished.</source>
        <comment>781</comment>
        <translation>Die Firmware %1 in den Logger an %2 schreiben? Trennen Sie das Kabel nicht, bevor die Aktualisierung abgeschlossen ist.</translation>
    </message>
    <message>
        <source>Nothing answered on %1. Try Auto Detect, or choose another port.</source>
        <comment>546</comment>
        <translation>An %1 hat nichts geantwortet. Versuchen Sie „Automatisch erkennen“ oder wählen Sie einen anderen Anschluss.</translation>
    </message>
    <message>
        <source>Nothing answered on %1. "kavro ports" lists the ports and the one Auto Detect picks; name another with --port.</source>
        <comment>547</comment>
        <translation>An %1 hat nichts geantwortet. "kavro ports" zeigt die Anschlüsse und den, den „Automatisch erkennen“ wählt; nennen Sie einen anderen mit --port.</translation>
    </message>
    <message>
        <source>Auto Detect found no CP210x USB bridge: check the logger's cable, or choose its port from the list.</source>
        <comment>548</comment>
        <translation>„Automatisch erkennen“ hat keine CP210x-USB-Brücke gefunden: Prüfen Sie das Kabel des Loggers oder wählen Sie seinen Anschluss aus der Liste.</translation>
    </message>
    <message>
        <source>No such folder</source>
        <comment>690</comment>
        <translation>Ordner nicht vorhanden</translation>
    </message>
    <message>
        <source>No photo matched the track log: the photos were taken from %1 to %2, the track log runs from %3 to %4 (times at UTC%5). Check the time zone the camera clock was set to, or calibrate the camera time.</source>
        <comment>691</comment>
        <translation>Kein Foto passt zum Track-Log: Die Fotos wurden von %1 bis %2 aufgenommen, das Track-Log reicht von %3 bis %4 (Zeiten in UTC%5). Prüfen Sie die Zeitzone, auf die die Kamera-Uhr eingestellt war, oder kalibrieren Sie die Kamerazeit.</translation>
    </message>
    <message>
        <source>Unknown time zone name &quot;%1&quot;: the zone database of this system has no zone of that name. &quot;kavro zones TEXT&quot; lists the zones whose names contain TEXT.</source>
        <comment>850</comment>
        <translation>Unbekannter Zeitzonenname &quot;%1&quot;: Die Zeitzonendatenbank dieses Systems kennt keine Zone dieses Namens. &quot;kavro zones TEXT&quot; listet die Zonen, deren Name TEXT enthält.</translation>
    </message>
    <message>
        <source>No time zone name contains &quot;%1&quot;.</source>
        <comment>851</comment>
        <translation>Kein Zeitzonenname enthält &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>852</comment>
        <translation>%1 Datensätze waren durch einen GPS-Wochenüberlauf um 1024 oder 2048 Wochen zu früh datiert; ihre Daten wurden korrigiert.</translation>
    </message>
    <message>
        <source>Upload Succeed! %1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>853</comment>
        <translation>Auslesen erfolgreich! %1 Datensätze waren durch einen GPS-Wochenüberlauf um 1024 oder 2048 Wochen zu früh datiert; ihre Daten wurden korrigiert.</translation>
    </message>
    <message>
        <source>Correct dates 1024 weeks early (GPS week rollover)</source>
        <comment>854</comment>
        <translation>Um 1024 Wochen zu frühe Daten korrigieren (GPS-Wochenüberlauf)</translation>
    </message>
    <message>
        <source>%1: taken at UTC%2, the time zone stored in the photo (%3).</source>
        <comment>855</comment>
        <translation>%1: aufgenommen um UTC%2, der im Foto gespeicherten Zeitzone (%3).</translation>
    </message>
    <message>
        <source>%1: its camera time falls in the hour skipped when the clocks went forward; it was moved forward past it, to UTC%2.</source>
        <comment>856</comment>
        <translation>%1: Die Kamerazeit liegt in der Stunde, die bei der Zeitumstellung übersprungen wurde; sie wurde dahinter verschoben, auf UTC%2.</translation>
    </message>
    <message>
        <source>%1: its camera time occurs twice as the clocks went back; the first, at UTC%2, was used.</source>
        <comment>857</comment>
        <translation>%1: Die Kamerazeit kommt bei der Rückstellung der Uhren zweimal vor; die erste, um UTC%2, wurde verwendet.</translation>
    </message>
    <message>
        <source>Use this time zone also for photos that store their own</source>
        <comment>858</comment>
        <translation>Diese Zeitzone auch für Fotos verwenden, die eine eigene speichern</translation>
    </message>
    <message>
        <source>Offset</source>
        <comment>859</comment>
        <translation>Versatz</translation>
    </message>
    <message>
        <source>%1 from the photo (%2)</source>
        <comment>860</comment>
        <translation>%1 aus dem Foto (%2)</translation>
    </message>
    <message>
        <source>%1 (chosen zone)</source>
        <comment>861</comment>
        <translation>%1 (gewählte Zone)</translation>
    </message>
    <message>
        <source>%1 (chosen zone; skipped hour, moved forward)</source>
        <comment>862</comment>
        <translation>%1 (gewählte Zone; übersprungene Stunde, vorverlegt)</translation>
    </message>
    <message>
        <source>%1 (chosen zone; repeated hour, the earlier offset)</source>
        <comment>863</comment>
        <translation>%1 (gewählte Zone; doppelte Stunde, der frühere Versatz)</translation>
    </message>
    <message>
        <source>The logger&apos;s memory changed since the last download: reading all of it.</source>
        <comment>900</comment>
        <translation>Der Speicher des Loggers hat sich seit dem letzten Auslesen geändert: er wird ganz gelesen.</translation>
    </message>
    <message>
        <source>The logger&apos;s memory has wrapped around since the last download: reading all of it.</source>
        <comment>901</comment>
        <translation>Der Speicher des Loggers wurde seit dem letzten Auslesen überschrieben: er wird ganz gelesen.</translation>
    </message>
    <message>
        <source>The kept copy of the logger&apos;s memory is damaged: reading all of it.</source>
        <comment>902</comment>
        <translation>Die aufbewahrte Kopie des Logger-Speichers ist beschädigt: er wird ganz gelesen.</translation>
    </message>
    <message>
        <source>Sectors read from the logger: %1, from the kept copy: %2 (%3 bytes requested)</source>
        <comment>903</comment>
        <translation>Sektoren vom Logger gelesen: %1, aus der aufbewahrten Kopie: %2 (%3 Bytes angefordert)</translation>
    </message>
    <message>
        <source>Read only new data</source>
        <comment>904</comment>
        <translation>Nur neue Daten lesen</translation>
    </message>
    <message>
        <source>Clear after download</source>
        <comment>905</comment>
        <translation>Nach dem Auslesen löschen</translation>
    </message>
    <message>
        <source>The log was not cleared: the download did not complete.</source>
        <comment>906</comment>
        <translation>Das Log wurde nicht gelöscht: das Auslesen wurde nicht abgeschlossen.</translation>
    </message>
    <message>
        <source>The log was not cleared: %1 of the files could not be written.</source>
        <comment>907</comment>
        <translation>Das Log wurde nicht gelöscht: %1 der Dateien konnten nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The photo cannot be read: %1</source>
        <comment>1700</comment>
        <translation>Das Foto kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be read: %2</source>
        <comment>1701</comment>
        <translation>die Begleitdatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the sidecar %1 already holds a position (choose Replace positions to overwrite it)</source>
        <comment>1702</comment>
        <translation>die Begleitdatei %1 enthält bereits eine Position (Positionen ersetzen wählen, um sie zu überschreiben)</translation>
    </message>
    <message>
        <source>the sidecar %1 is not XMP; it was left as it is</source>
        <comment>1703</comment>
        <translation>die Begleitdatei %1 ist kein XMP; sie bleibt unverändert</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be written: %2</source>
        <comment>1704</comment>
        <translation>die Begleitdatei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No sidecar for %1: %2</source>
        <comment>1705</comment>
        <translation>Keine Begleitdatei für %1: %2</translation>
    </message>
    <message>
        <source>writing positions into photos is off</source>
        <comment>1706</comment>
        <translation>das Schreiben der Positionen in Fotos ist aus</translation>
    </message>
    <message>
        <source>no position for this photo</source>
        <comment>1707</comment>
        <translation>keine Position für dieses Foto</translation>
    </message>
    <message>
        <source>File</source>
        <comment>1720</comment>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Captured</source>
        <comment>1721</comment>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>UTC used</source>
        <comment>1722</comment>
        <translation>Verwendete UTC</translation>
    </message>
    <message>
        <source>Match</source>
        <comment>1723</comment>
        <translation>Zuordnung</translation>
    </message>
    <message>
        <source>Seconds to nearest point</source>
        <comment>1724</comment>
        <translation>Sekunden zum nächsten Punkt</translation>
    </message>
    <message>
        <source>Latitude</source>
        <comment>1725</comment>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Longitude</source>
        <comment>1726</comment>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Altitude</source>
        <comment>1727</comment>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Written</source>
        <comment>1728</comment>
        <translation>Geschrieben</translation>
    </message>
    <message>
        <source>Reason</source>
        <comment>1729</comment>
        <translation>Grund</translation>
    </message>
    <message>
        <source>exact</source>
        <comment>1730</comment>
        <translation>genau</translation>
    </message>
    <message>
        <source>interpolated</source>
        <comment>1731</comment>
        <translation>interpoliert</translation>
    </message>
    <message>
        <source>nearest</source>
        <comment>1732</comment>
        <translation>nächster Punkt</translation>
    </message>
    <message>
        <source>too far from the track</source>
        <comment>1733</comment>
        <translation>zu weit vom Track</translation>
    </message>
    <message>
        <source>outside the track</source>
        <comment>1734</comment>
        <translation>außerhalb des Tracks</translation>
    </message>
    <message>
        <source>no capture time</source>
        <comment>1735</comment>
        <translation>keine Aufnahmezeit</translation>
    </message>
    <message>
        <source>unreadable</source>
        <comment>1736</comment>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>make refused</source>
        <comment>1737</comment>
        <translation>Kamera abgelehnt</translation>
    </message>
    <message>
        <source>nothing</source>
        <comment>1738</comment>
        <translation>nichts</translation>
    </message>
    <message>
        <source>copy %1</source>
        <comment>1739</comment>
        <translation>Kopie %1</translation>
    </message>
    <message>
        <source>sidecar %1</source>
        <comment>1740</comment>
        <translation>Begleitdatei %1</translation>
    </message>
    <message>
        <source>would write copy %1</source>
        <comment>1741</comment>
        <translation>würde Kopie %1 schreiben</translation>
    </message>
    <message>
        <source>would write sidecar %1</source>
        <comment>1742</comment>
        <translation>würde Begleitdatei %1 schreiben</translation>
    </message>
    <message>
        <source>%1% of %2 photos</source>
        <comment>1743</comment>
        <translation>%1% von %2 Fotos</translation>
    </message>
    <message>
        <source>Sidecars not written: %1</source>
        <comment>1744</comment>
        <translation>Nicht geschriebene Begleitdateien: %1</translation>
    </message>
    <message>
        <source>Interpolate between the two track points around a photo's time</source>
        <comment>1745</comment>
        <translation>Zwischen den zwei Trackpunkten um die Aufnahmezeit interpolieren</translation>
    </message>
    <message>
        <source>Maximum gap between the two points (seconds):</source>
        <comment>1746</comment>
        <translation>Größter Abstand der zwei Punkte (Sekunden):</translation>
    </message>
    <message>
        <source>Write XMP sidecars for JPEG photos too, instead of copies</source>
        <comment>1747</comment>
        <translation>Auch für JPEG-Fotos XMP-Begleitdateien statt Kopien schreiben</translation>
    </message>
    <message>
        <source>Name sidecars NAME.EXT.xmp (instead of NAME.xmp)</source>
        <comment>1748</comment>
        <translation>Begleitdateien NAME.EXT.xmp nennen (statt NAME.xmp)</translation>
    </message>
    <message>
        <source>Replace positions that existing sidecars already hold</source>
        <comment>1749</comment>
        <translation>Positionen ersetzen, die vorhandene Begleitdateien schon enthalten</translation>
    </message>
    <message>
        <source>Preview</source>
        <comment>1750</comment>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Preview finished: nothing was written.</source>
        <comment>1751</comment>
        <translation>Vorschau beendet: nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2% of its records are valid. It is not shown on the map.</source>
        <comment>1200</comment>
        <translation>Die Datei %1 ist keine Track-Log-Datei: Nur %2% ihrer Datensätze sind gültig. Sie wird nicht auf der Karte gezeigt.</translation>
    </message>
    <message>
        <source>%1 m</source>
        <comment>1201</comment>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1 km</source>
        <comment>1202</comment>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <comment>1203</comment>
        <translation>das Bild konnte nicht kodiert werden</translation>
    </message>
    <message>
        <source>Nothing to draw: the track log files hold no track points.</source>
        <comment>1204</comment>
        <translation>Nichts zu zeichnen: Die Track-Log-Dateien enthalten keine Trackpunkte.</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, each from %1 to %2 pixels, e.g. 1200x800.</source>
        <comment>1205</comment>
        <translation>--size erwartet BREITExHÖHE, jeweils %1 bis %2 Pixel, z. B. 1200x800.</translation>
    </message>
    <message>
        <source>--tiles and --no-tiles cannot be given together.</source>
        <comment>1206</comment>
        <translation>--tiles und --no-tiles können nicht zusammen angegeben werden.</translation>
    </message>
    <message>
        <source>Map tiles unavailable: %1</source>
        <comment>1210</comment>
        <translation>Kartenkacheln nicht verfügbar: %1</translation>
    </message>
    <message>
        <source>the server sent something that is not a picture</source>
        <comment>1211</comment>
        <translation>der Server hat etwas geschickt, das kein Bild ist</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <comment>1212</comment>
        <translation>der Server hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <comment>1213</comment>
        <translation>der Server hat mit %1 %2 geantwortet</translation>
    </message>
    <message>
        <source>© OpenStreetMap contributors</source>
        <comment>1214</comment>
        <translation>© OpenStreetMap-Mitwirkende</translation>
    </message>
    <message>
        <source>The tile address must start with http:// or https:// and contain {z}, {x} and {y}: %1</source>
        <comment>1215</comment>
        <translation>Die Kachel-Adresse muss mit http:// oder https:// beginnen und {z}, {x} und {y} enthalten: %1</translation>
    </message>
    <message>
        <source>map tiles switched off</source>
        <comment>1216</comment>
        <translation>Kartenkacheln ausgeschaltet</translation>
    </message>
    <message>
        <source>Map</source>
        <comment>1220</comment>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Open...</source>
        <comment>1221</comment>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Fit</source>
        <comment>1222</comment>
        <translation>Alles zeigen</translation>
    </message>
    <message>
        <source>Save Picture...</source>
        <comment>1223</comment>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <source>Tiles:</source>
        <comment>1224</comment>
        <translation>Kacheln:</translation>
    </message>
    <message>
        <source>Height over:</source>
        <comment>1225</comment>
        <translation>Höhe über:</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>1226</comment>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>1227</comment>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <comment>1228</comment>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>Height: %1 m</source>
        <comment>1229</comment>
        <translation>Höhe: %1 m</translation>
    </message>
    <message>
        <source>Lowest: %1 m</source>
        <comment>1230</comment>
        <translation>Tiefster Punkt: %1 m</translation>
    </message>
    <message>
        <source>Highest: %1 m</source>
        <comment>1231</comment>
        <translation>Höchster Punkt: %1 m</translation>
    </message>
    <message>
        <source>Climb: %1 m</source>
        <comment>1232</comment>
        <translation>Anstieg: %1 m</translation>
    </message>
    <message>
        <source>Length: %1 km</source>
        <comment>1233</comment>
        <translation>Länge: %1 km</translation>
    </message>
    <message>
        <source>Match: %1</source>
        <comment>1234</comment>
        <translation>Zuordnung: %1</translation>
    </message>
    <message>
        <source>Open a track log file (*.trl) to see it on the map.</source>
        <comment>1235</comment>
        <translation>Öffnen Sie eine Track-Log-Datei (*.trl), um sie auf der Karte zu sehen.</translation>
    </message>
    <message>
        <source>Track Log (*.trl)</source>
        <comment>1236</comment>
        <translation>Track-Log (*.trl)</translation>
    </message>
    <message>
        <source>Position: %1, %2</source>
        <comment>1237</comment>
        <translation>Position: %1, %2</translation>
    </message>
    <message>
        <source>loading map tiles...</source>
        <comment>1238</comment>
        <translation>Kartenkacheln werden geladen...</translation>
    </message>
    <message>
        <source>%1 of %2 tiles did not arrive within %3 s</source>
        <comment>1239</comment>
        <translation>%1 von %2 Kacheln sind nicht innerhalb von %3 s angekommen</translation>
    </message>
    <message>
        <source>not located</source>
        <comment>1240</comment>
        <translation>nicht verortet</translation>
    </message>
    <message>
        <source>located on the track</source>
        <comment>1241</comment>
        <translation>auf dem Track verortet</translation>
    </message>
    <message>
        <source>Taken: %1</source>
        <comment>1242</comment>
        <translation>Aufgenommen: %1</translation>
    </message>
    <message>
        <source>Photos on the map: %1 of %2</source>
        <comment>1243</comment>
        <translation>Fotos auf der Karte: %1 von %2</translation>
    </message>
</context>
</TS>
