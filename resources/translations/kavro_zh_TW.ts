<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>Kavro</name>
    <message>
        <source>&amp;About Kavro Logger Utility...</source>
        <comment>101</comment>
        <translation>關於 Kavro Logger Utility(&amp;A)...</translation>
    </message>
    <message>
        <source>Track Log (*.trl)|*.trl|</source>
        <comment>108</comment>
        <translation>軌跡記錄 (*.trl)|*.trl|</translation>
    </message>
    <message>
        <source>Track Log (*.kml)|*.kml|</source>
        <comment>111</comment>
        <translation>軌跡記錄 (*.kml)|*.kml|</translation>
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
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>302</comment>
        <translation>取消</translation>
    </message>
    <message>
        <source>Apply All</source>
        <comment>303</comment>
        <translation>全部套用</translation>
    </message>
    <message>
        <source>Default All</source>
        <comment>304</comment>
        <translation>全部預設</translation>
    </message>
    <message>
        <source>Device Setting</source>
        <comment>305</comment>
        <translation>裝置設定</translation>
    </message>
    <message>
        <source>COM Port</source>
        <comment>306</comment>
        <translation>COM 連接埠</translation>
    </message>
    <message>
        <source>Connect</source>
        <comment>307</comment>
        <translation>連線</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <comment>308</comment>
        <translation>中斷連線</translation>
    </message>
    <message>
        <source>Connect Status Message</source>
        <comment>309</comment>
        <translation>連線狀態訊息</translation>
    </message>
    <message>
        <source>Connecting to device...</source>
        <comment>310</comment>
        <translation>正在連線到裝置...</translation>
    </message>
    <message>
        <source>Device Connected!</source>
        <comment>311</comment>
        <translation>裝置已連線!</translation>
    </message>
    <message>
        <source>Failed connecting to device!</source>
        <comment>312</comment>
        <translation>連線到裝置失敗!</translation>
    </message>
    <message>
        <source>Disconnecting device...</source>
        <comment>313</comment>
        <translation>正在中斷裝置連線...</translation>
    </message>
    <message>
        <source>Device Disconnected!</source>
        <comment>314</comment>
        <translation>裝置已中斷連線!</translation>
    </message>
    <message>
        <source>Timeout. Device Disconnected!</source>
        <comment>315</comment>
        <translation>逾時。裝置已中斷連線!</translation>
    </message>
    <message>
        <source>Connect Status</source>
        <comment>316</comment>
        <translation>連線狀態</translation>
    </message>
    <message>
        <source>Device Information</source>
        <comment>317</comment>
        <translation>裝置資訊</translation>
    </message>
    <message>
        <source>Device Type</source>
        <comment>318</comment>
        <translation>裝置類型</translation>
    </message>
    <message>
        <source>[FW] [HW] Version</source>
        <comment>320</comment>
        <translation>[FW] [HW] 版本</translation>
    </message>
    <message>
        <source>Memory Usage</source>
        <comment>321</comment>
        <translation>記憶體使用量</translation>
    </message>
    <message>
        <source>User Name</source>
        <comment>322</comment>
        <translation>使用者名稱</translation>
    </message>
    <message>
        <source>Write Name</source>
        <comment>323</comment>
        <translation>寫入名稱</translation>
    </message>
    <message>
        <source>Track Log Setting</source>
        <comment>324</comment>
        <translation>軌跡記錄設定</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <comment>325</comment>
        <translation>覆寫</translation>
    </message>
    <message>
        <source>Full and Stop</source>
        <comment>326</comment>
        <translation>滿了就停止</translation>
    </message>
    <message>
        <source>Second</source>
        <comment>327</comment>
        <translation>時間</translation>
    </message>
    <message>
        <source>sec.</source>
        <comment>328</comment>
        <translation>秒</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>329</comment>
        <translation>距離</translation>
    </message>
    <message>
        <source>meter</source>
        <comment>330</comment>
        <translation>公尺</translation>
    </message>
    <message>
        <source>Read Status Message</source>
        <comment>331</comment>
        <translation>讀取狀態訊息</translation>
    </message>
    <message>
        <source>Updating Second Settings...</source>
        <comment>335</comment>
        <translation>正在更新秒數設定...</translation>
    </message>
    <message>
        <source>Updating Distance Settings...</source>
        <comment>336</comment>
        <translation>正在更新距離設定...</translation>
    </message>
    <message>
        <source>Updating Settings Successfully!</source>
        <comment>337</comment>
        <translation>設定更新成功!</translation>
    </message>
    <message>
        <source>Upload/Clear Status Message</source>
        <comment>338</comment>
        <translation>上傳/清除狀態訊息</translation>
    </message>
    <message>
        <source>Start Uploading...</source>
        <comment>339</comment>
        <translation>開始上傳...</translation>
    </message>
    <message>
        <source>Upload Succeed!</source>
        <comment>340</comment>
        <translation>上傳成功!</translation>
    </message>
    <message>
        <source>Start Clearing...</source>
        <comment>341</comment>
        <translation>開始清除...</translation>
    </message>
    <message>
        <source>Clear Succeed!</source>
        <comment>342</comment>
        <translation>清除成功!</translation>
    </message>
    <message>
        <source>Upload Device Track Log Data to PC</source>
        <comment>343</comment>
        <translation>將裝置軌跡記錄資料上傳到電腦</translation>
    </message>
    <message>
        <source>Clear Device Track Log Data</source>
        <comment>344</comment>
        <translation>清除裝置軌跡記錄資料</translation>
    </message>
    <message>
        <source>Upload</source>
        <comment>345</comment>
        <translation>上傳</translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>346</comment>
        <translation>清除</translation>
    </message>
    <message>
        <source>Transform to File</source>
        <comment>347</comment>
        <translation>轉存為檔案</translation>
    </message>
    <message>
        <source>Please select the directory</source>
        <comment>348</comment>
        <translation>請選擇目錄</translation>
    </message>
    <message>
        <source>Track Log File Saved Directory</source>
        <comment>349</comment>
        <translation>軌跡記錄檔案儲存目錄</translation>
    </message>
    <message>
        <source>Combine JPEG File</source>
        <comment>350</comment>
        <translation>結合 JPEG 檔案</translation>
    </message>
    <message>
        <source>Write Total Track Log</source>
        <comment>351</comment>
        <translation>寫入完整軌跡記錄</translation>
    </message>
    <message>
        <source>Track Log Format</source>
        <comment>352</comment>
        <translation>軌跡記錄格式</translation>
    </message>
    <message>
        <source>Track Log File Format Conversion</source>
        <comment>353</comment>
        <translation>軌跡記錄檔案格式轉換</translation>
    </message>
    <message>
        <source>Source File(*.trl):</source>
        <comment>354</comment>
        <translation>來源檔案(*.trl):</translation>
    </message>
    <message>
        <source>Time Zone(UTC+-):</source>
        <comment>355</comment>
        <translation>時區(UTC+-):</translation>
    </message>
    <message>
        <source>Output Format:</source>
        <comment>356</comment>
        <translation>輸出格式:</translation>
    </message>
    <message>
        <source>Convert Format:</source>
        <comment>357</comment>
        <translation>轉換格式:</translation>
    </message>
    <message>
        <source>Convert</source>
        <comment>358</comment>
        <translation>轉換</translation>
    </message>
    <message>
        <source>Convert Status Message</source>
        <comment>359</comment>
        <translation>轉換狀態訊息</translation>
    </message>
    <message>
        <source>Converting...</source>
        <comment>360</comment>
        <translation>正在轉換...</translation>
    </message>
    <message>
        <source>Convert Successfully!</source>
        <comment>361</comment>
        <translation>轉換成功!</translation>
    </message>
    <message>
        <source>Track Log Photo</source>
        <comment>362</comment>
        <translation>軌跡記錄相片</translation>
    </message>
    <message>
        <source>Combine Photo Link in Track Log</source>
        <comment>363</comment>
        <translation>在軌跡記錄中結合相片連結</translation>
    </message>
    <message>
        <source>JPEG(*.jpg) Photo Directory:</source>
        <comment>364</comment>
        <translation>JPEG(*.jpg) 相片目錄:</translation>
    </message>
    <message>
        <source>Photo Combine Setting</source>
        <comment>365</comment>
        <translation>相片結合設定</translation>
    </message>
    <message>
        <source>Photo Parsed</source>
        <comment>366</comment>
        <translation>已解析相片</translation>
    </message>
    <message>
        <source>Pass:</source>
        <comment>367</comment>
        <translation>通過:</translation>
    </message>
    <message>
        <source>Error:</source>
        <comment>368</comment>
        <translation>錯誤:</translation>
    </message>
    <message>
        <source>Photo Combined</source>
        <comment>369</comment>
        <translation>已結合相片</translation>
    </message>
    <message>
        <source>Failed:</source>
        <comment>370</comment>
        <translation>失敗:</translation>
    </message>
    <message>
        <source>Time Zone For Photos(UTC+-):</source>
        <comment>371</comment>
        <translation>相片時區(UTC+-):</translation>
    </message>
    <message>
        <source>Calibrate Time(Speed up(+) or slow down(-) your camera time to equal to device showing time):</source>
        <comment>372</comment>
        <translation>校正時間(將相機時間調快(+)或調慢(-),使其與裝置顯示的時間相同):</translation>
    </message>
    <message>
        <source>Day</source>
        <comment>373</comment>
        <translation>日</translation>
    </message>
    <message>
        <source>Hour</source>
        <comment>374</comment>
        <translation>時</translation>
    </message>
    <message>
        <source>Min.</source>
        <comment>375</comment>
        <translation>分</translation>
    </message>
    <message>
        <source>Sec.</source>
        <comment>376</comment>
        <translation>秒</translation>
    </message>
    <message>
        <source>Track Log Processing</source>
        <comment>377</comment>
        <translation>軌跡記錄處理</translation>
    </message>
    <message>
        <source>Record Style</source>
        <comment>378</comment>
        <translation>記錄方式</translation>
    </message>
    <message>
        <source>Updating Record Style Settings...</source>
        <comment>379</comment>
        <translation>正在更新記錄方式設定...</translation>
    </message>
    <message>
        <source>Please select Kavro track log source file(*.trl).</source>
        <comment>380</comment>
        <translation>請選擇 Kavro 軌跡記錄來源檔案(*.trl)。</translation>
    </message>
    <message>
        <source>Please select photo directory.</source>
        <comment>381</comment>
        <translation>請選擇相片目錄。</translation>
    </message>
    <message>
        <source>Track Log File Status</source>
        <comment>382</comment>
        <translation>軌跡記錄檔案狀態</translation>
    </message>
    <message>
        <source>Create File OK</source>
        <comment>383</comment>
        <translation>建立檔案成功</translation>
    </message>
    <message>
        <source>Device not connected!</source>
        <comment>384</comment>
        <translation>裝置未連線!</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Kavro. All rights reserved.</source>
        <comment>385</comment>
        <translation>Copyright (C) 2026 Kavro. 版權所有。</translation>
    </message>
    <message>
        <source>KavroUtility Version</source>
        <comment>386</comment>
        <translation>KavroUtility 版本</translation>
    </message>
    <message>
        <source>No found photo taken date time.</source>
        <comment>387</comment>
        <translation>找不到相片拍攝日期時間。</translation>
    </message>
    <message>
        <source>Photo taken date time format error.</source>
        <comment>388</comment>
        <translation>相片拍攝日期時間格式錯誤。</translation>
    </message>
    <message>
        <source>No mapping any track log point.</source>
        <comment>389</comment>
        <translation>沒有對應到任何軌跡記錄點。</translation>
    </message>
    <message>
        <source>UserName is not Correct!! It can&apos;t contain any of these characters: * (space) . \ : / &quot; ? &lt; &gt; |</source>
        <comment>390</comment>
        <translation>使用者名稱不正確!! 不可包含下列任何字元: * (空白) . \ : / &quot; ? &lt; &gt; |</translation>
    </message>
    <message>
        <source>Please select track log file directory.</source>
        <comment>391</comment>
        <translation>請選擇軌跡記錄檔案目錄。</translation>
    </message>
    <message>
        <source>Transmission interrupt !</source>
        <comment>392</comment>
        <translation>傳輸中斷!</translation>
    </message>
    <message>
        <source>A photo is discarded when:</source>
        <comment>393</comment>
        <translation>下列情況的相片會被捨棄:</translation>
    </message>
    <message>
        <source>It was taken earlier than the first or later than the last track log point.</source>
        <comment>394</comment>
        <translation>拍攝時間早於第一個或晚於最後一個軌跡記錄點。</translation>
    </message>
    <message>
        <source>It was taken between two track log points that are more than 2 minutes apart.</source>
        <comment>395</comment>
        <translation>拍攝時間介於兩個相隔超過 2 分鐘的軌跡記錄點之間。</translation>
    </message>
    <message>
        <source>ft</source>
        <comment>396</comment>
        <translation>英呎</translation>
    </message>
    <message>
        <source>Auto Detect</source>
        <comment>397</comment>
        <translation>自動偵測</translation>
    </message>
    <message>
        <source>Write Track Log Record in Photo</source>
        <comment>398</comment>
        <translation>將軌跡記錄寫入相片</translation>
    </message>
    <message>
        <source>Write track log record in photo.(System creates new photo file: *_GPS.jpg)</source>
        <comment>399</comment>
        <translation>將軌跡記錄寫入相片。(系統會建立新的相片檔案: *_GPS.jpg)</translation>
    </message>
    <message>
        <source>Download and Update Firmware</source>
        <comment>400</comment>
        <translation>下載並更新韌體</translation>
    </message>
    <message>
        <source>[Warning] Download and update firmware is the very dangerous operation, it may destroy the device system if careless. Please make sure the firmware file format and content is correct before downloading ,and please don&apos;t disconnect cable from device or PC site.</source>
        <comment>401</comment>
        <translation>[警告] 下載並更新韌體是非常危險的操作,稍有不慎可能會損毀裝置系統。下載前請確認韌體檔案的格式與內容正確,並請勿從裝置或電腦端拔除傳輸線。</translation>
    </message>
    <message>
        <source>Update Firmware File(*.bin):</source>
        <comment>402</comment>
        <translation>更新韌體檔案(*.bin):</translation>
    </message>
    <message>
        <source>Download and Update</source>
        <comment>403</comment>
        <translation>下載並更新</translation>
    </message>
    <message>
        <source>Download and Update Status</source>
        <comment>404</comment>
        <translation>下載並更新狀態</translation>
    </message>
    <message>
        <source>Initialize Download...</source>
        <comment>405</comment>
        <translation>正在初始化下載...</translation>
    </message>
    <message>
        <source>Initialize Download Agent(DA)...</source>
        <comment>406</comment>
        <translation>正在初始化下載代理程式(DA)...</translation>
    </message>
    <message>
        <source>Download Download Agent(DA)...</source>
        <comment>407</comment>
        <translation>正在下載下載代理程式(DA)...</translation>
    </message>
    <message>
        <source>Initialize Download Firmware...</source>
        <comment>408</comment>
        <translation>正在初始化韌體下載...</translation>
    </message>
    <message>
        <source>Download and Update Firmware...</source>
        <comment>409</comment>
        <translation>正在下載並更新韌體...</translation>
    </message>
    <message>
        <source>Process Finish Procedure...</source>
        <comment>410</comment>
        <translation>正在執行完成程序...</translation>
    </message>
    <message>
        <source>Download and Update Successfully</source>
        <comment>411</comment>
        <translation>下載並更新成功</translation>
    </message>
    <message>
        <source>Please select firmware file(*.bin)</source>
        <comment>412</comment>
        <translation>請選擇韌體檔案(*.bin)</translation>
    </message>
    <message>
        <source>Open COM Port failed! Please select correct COM Port and then download again.</source>
        <comment>413</comment>
        <translation>開啟 COM 連接埠失敗! 請選擇正確的 COM 連接埠後再重新下載。</translation>
    </message>
    <message>
        <source>No support this camera photo EXIF format, and can&apos;t write track log record into this photo.</source>
        <comment>414</comment>
        <translation>不支援此相機的相片 EXIF 格式,無法將軌跡記錄寫入此相片。</translation>
    </message>
    <message>
        <source>The firmware file content is wrong, please select correct firmware file and then download again.</source>
        <comment>415</comment>
        <translation>韌體檔案內容錯誤,請選擇正確的韌體檔案後再重新下載。</translation>
    </message>
    <message>
        <source>User name is not correct! (Allow only ASCII English alphabet and symbol)</source>
        <comment>416</comment>
        <translation>使用者名稱不正確! (僅允許 ASCII 英文字母與符號)</translation>
    </message>
    <message>
        <source>The port %1 does not exist.</source>
        <comment>500</comment>
        <translation>連接埠 %1 不存在。</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program.</source>
        <comment>501</comment>
        <translation>連接埠 %1 正被其他程式使用。</translation>
    </message>
    <message>
        <source>No permission to open %1: install the kavro-utility package, whose udev rule lets the logged-in user open the logger&apos;s USB bridge (plug the logger in again afterwards), or join the &quot;dialout&quot; group and log in again.</source>
        <comment>502</comment>
        <translation>沒有開啟 %1 的權限: 請安裝 kavro-utility 套件, 其 udev 規則讓已登入的使用者可開啟記錄器的 USB 轉接器 (安裝後請重新插入記錄器), 或加入 &quot;dialout&quot; 群組並重新登入。</translation>
    </message>
    <message>
        <source>The port %1 cannot be opened: %2</source>
        <comment>503</comment>
        <translation>無法開啟連接埠 %1: %2</translation>
    </message>
    <message>
        <source>Connection to Device Failed</source>
        <comment>504</comment>
        <translation>連線到裝置失敗</translation>
    </message>
    <message>
        <source>Not EXIF format.</source>
        <comment>505</comment>
        <translation>Not EXIF format.</translation>
    </message>
    <message>
        <source>Simulated T-580</source>
        <comment>506</comment>
        <translation>模擬 T-580</translation>
    </message>
    <message>
        <source>Clear Failed! No Device Connected! </source>
        <comment>507</comment>
        <translation>清除失敗! 沒有連線的裝置! </translation>
    </message>
    <message>
        <source>read Address: Timeout!</source>
        <comment>508</comment>
        <translation>讀取位址: 逾時!</translation>
    </message>
    <message>
        <source>No device available</source>
        <comment>509</comment>
        <translation>沒有可用的裝置</translation>
    </message>
    <message>
        <source>User name is too long: at most 16 characters.</source>
        <comment>510</comment>
        <translation>使用者名稱太長: 最多 16 個字元。</translation>
    </message>
    <message>
        <source>%1 is not a serial port.</source>
        <comment>519</comment>
        <translation>%1 不是序列埠。</translation>
    </message>
    <message>
        <source>Create File Failed %1: %2</source>
        <comment>600</comment>
        <translation>建立檔案失敗 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be opened: %2</source>
        <comment>601</comment>
        <translation>無法開啟檔案 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be created: %2</source>
        <comment>602</comment>
        <translation>無法建立檔案 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be written completely and was not saved: %2</source>
        <comment>603</comment>
        <translation>檔案 %1 未能完整寫入,因此未儲存: %2</translation>
    </message>
    <message>
        <source>The file %1 holds %2 bytes; a log memory image holds exactly %3 bytes.</source>
        <comment>604</comment>
        <translation>檔案 %1 有 %2 位元組; 記錄記憶體映像檔必須剛好是 %3 位元組。</translation>
    </message>
    <message>
        <source>Text(*.txt)</source>
        <comment>605</comment>
        <translation>文字(*.txt)</translation>
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
        <translation>未知的時區 &quot;%1&quot;。請使用表中的標籤,例如 +08:00、-03:30 或 00:00。</translation>
    </message>
    <message>
        <source>Convert Failed!</source>
        <comment>610</comment>
        <translation>轉換失敗!</translation>
    </message>
    <message>
        <source>Missing argument: %1</source>
        <comment>611</comment>
        <translation>缺少參數: %1</translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <comment>612</comment>
        <translation>未知的選項: %1</translation>
    </message>
    <message>
        <source>No track log record was found.</source>
        <comment>613</comment>
        <translation>找不到任何軌跡記錄資料。</translation>
    </message>
    <message>
        <source>The directory %1 does not exist.</source>
        <comment>614</comment>
        <translation>目錄 %1 不存在。</translation>
    </message>
    <message>
        <source>The output %1 would replace its own source file.</source>
        <comment>615</comment>
        <translation>輸出 %1 會覆蓋它自己的來源檔案。</translation>
    </message>
    <message>
        <source>GPX track (*.gpx)</source>
        <comment>616</comment>
        <translation>GPX 軌跡 (*.gpx)</translation>
    </message>
    <message>
        <source>The file cannot be opened: %1</source>
        <comment>650</comment>
        <translation>無法開啟檔案: %1</translation>
    </message>
    <message>
        <source>The track log file %1 cannot be opened: %2</source>
        <comment>651</comment>
        <translation>無法開啟軌跡記錄檔案 %1: %2</translation>
    </message>
    <message>
        <source>The photo directory %1 cannot be read: %2</source>
        <comment>652</comment>
        <translation>無法讀取相片目錄 %1: %2</translation>
    </message>
    <message>
        <source>The EXIF layout of this photo is not supported; no copy was written.</source>
        <comment>653</comment>
        <translation>不支援此相片的 EXIF 結構,未寫入副本。</translation>
    </message>
    <message>
        <source>Only the first %1 photos are read.</source>
        <comment>654</comment>
        <translation>只讀取前 %1 張相片。</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2</source>
        <comment>655</comment>
        <translation>無法寫入檔案 %1: %2</translation>
    </message>
    <message>
        <source>The calibration must be D:H:M:S, for example 0:1:-5:30, with days from -%1 to %1, hours from -%2 to %2, minutes from -%3 to %3 and seconds from -%4 to %4.</source>
        <comment>656</comment>
        <translation>校正值必須是 日:時:分:秒,例如 0:1:-5:30,其中日為 -%1 到 %1,時為 -%2 到 %2,分為 -%3 到 %3,秒為 -%4 到 %4。</translation>
    </message>
    <message>
        <source>Unknown time zone: %1</source>
        <comment>657</comment>
        <translation>未知的時區: %1</translation>
    </message>
    <message>
        <source>The copy %1 cannot be written: %2</source>
        <comment>658</comment>
        <translation>無法寫入副本 %1: %2</translation>
    </message>
    <message>
        <source>Time interval</source>
        <comment>520</comment>
        <translation>時間間隔</translation>
    </message>
    <message>
        <source>Distance interval</source>
        <comment>521</comment>
        <translation>距離間隔</translation>
    </message>
    <message>
        <source>Record mode</source>
        <comment>522</comment>
        <translation>記錄模式</translation>
    </message>
    <message>
        <source>Write position</source>
        <comment>523</comment>
        <translation>寫入位置</translation>
    </message>
    <message>
        <source>Memory wrapped</source>
        <comment>524</comment>
        <translation>記憶體已循環覆寫</translation>
    </message>
    <message>
        <source>Recording basis</source>
        <comment>525</comment>
        <translation>記錄依據</translation>
    </message>
    <message>
        <source>Time zone</source>
        <comment>526</comment>
        <translation>時區</translation>
    </message>
    <message>
        <source>Distance unit</source>
        <comment>527</comment>
        <translation>距離單位</translation>
    </message>
    <message>
        <source>not read</source>
        <comment>528</comment>
        <translation>未讀取</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>529</comment>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <comment>530</comment>
        <translation>否</translation>
    </message>
    <message>
        <source>%1 tenths of a second</source>
        <comment>531</comment>
        <translation>%1 個十分之一秒</translation>
    </message>
    <message>
        <source>%1 tenths of a metre</source>
        <comment>532</comment>
        <translation>%1 個十分之一公尺</translation>
    </message>
    <message>
        <source>%1 free records</source>
        <comment>533</comment>
        <translation>%1 筆可用記錄</translation>
    </message>
    <message>
        <source>CP210x bridge</source>
        <comment>534</comment>
        <translation>CP210x 轉接器</translation>
    </message>
    <message>
        <source>Prolific bridge</source>
        <comment>535</comment>
        <translation>Prolific 轉接器</translation>
    </message>
    <message>
        <source>No serial port was found.</source>
        <comment>536</comment>
        <translation>找不到任何序列埠。</translation>
    </message>
    <message>
        <source>The simulated logger cannot be started: %1</source>
        <comment>537</comment>
        <translation>無法啟動模擬記錄器: %1</translation>
    </message>
    <message>
        <source>%1 %2 is not in the list; choose one of: %3</source>
        <comment>538</comment>
        <translation>%1 %2 不在清單中; 請從下列選擇: %3</translation>
    </message>
    <message>
        <source>The logger has 3 or fewer free records: its recording settings cannot be changed.</source>
        <comment>539</comment>
        <translation>記錄器的可用記錄不超過 3 筆: 無法變更其記錄設定。</translation>
    </message>
    <message>
        <source>Name the logger&apos;s port with --port PATH, or use --simulate[=SCENARIO].</source>
        <comment>540</comment>
        <translation>請用 --port 路徑 指定記錄器的連接埠,或使用 --simulate[=情境]。</translation>
    </message>
    <message>
        <source>Unknown scenario &quot;%1&quot;; choose one of: %2</source>
        <comment>541</comment>
        <translation>未知的情境 &quot;%1&quot;; 請從下列選擇: %2</translation>
    </message>
    <message>
        <source>User name sent to the logger: %1</source>
        <comment>542</comment>
        <translation>已將使用者名稱傳送到記錄器: %1</translation>
    </message>
    <message>
        <source>The logger stopped answering on %1.</source>
        <comment>543</comment>
        <translation>記錄器在 %1 上停止回應。</translation>
    </message>
    <message>
        <source>No geotagged copy of %1: %2</source>
        <comment>710</comment>
        <translation>未建立 %1 的 GPS 副本: %2</translation>
    </message>
    <message>
        <source>the layout of its EXIF data is not supported</source>
        <comment>711</comment>
        <translation>不支援此相片的 EXIF 資料配置</translation>
    </message>
    <message>
        <source>the matched track point has no valid latitude, longitude or altitude (a damaged record)</source>
        <comment>712</comment>
        <translation>對應的軌跡點沒有有效的緯度、經度或高度 (記錄已損壞)</translation>
    </message>
    <message>
        <source>Geotagged copies written: %1 of %2</source>
        <comment>713</comment>
        <translation>已寫入 GPS 副本: %1 / %2</translation>
    </message>
    <message>
        <source>Geotagged copies not written: %1</source>
        <comment>714</comment>
        <translation>未能寫入的 GPS 副本: %1</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <comment>750</comment>
        <translation>未知的指令: %1</translation>
    </message>
    <message>
        <source>Run &quot;%1 --help&quot; to see the options.</source>
        <comment>751</comment>
        <translation>執行 &quot;%1 --help&quot; 以查看選項。</translation>
    </message>
    <message>
        <source>The firmware image is %1 bytes, larger than the %2 bytes the logger can take. Please select the correct firmware file.</source>
        <comment>760</comment>
        <translation>韌體映像檔有 %1 位元組，超過記錄器可容納的 %2 位元組。請選擇正確的韌體檔案。</translation>
    </message>
    <message>
        <source>The firmware image copy cannot be written in the folder %1. Please put the firmware file in a folder you can write to and then download again.</source>
        <comment>761</comment>
        <translation>無法在資料夾 %1 中寫入韌體映像副本。請將韌體檔案放在可寫入的資料夾中，然後重新下載。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger&apos;s boot ROM did not answer. The firmware was not changed.</source>
        <comment>762</comment>
        <translation>下載與更新失敗：記錄器的開機 ROM 沒有回應。韌體未被變更。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger stopped answering during the transfer. Please download again.</source>
        <comment>763</comment>
        <translation>下載與更新失敗：傳輸期間記錄器停止回應。請重新下載。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger refused the firmware. Please select the correct firmware file and then download again.</source>
        <comment>764</comment>
        <translation>下載與更新失敗：記錄器拒絕了此韌體。請選擇正確的韌體檔案，然後重新下載。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the download agent (DA*.bin) or the scatter file (scat.txt) beside the program is missing or damaged, or the firmware image is empty.</source>
        <comment>765</comment>
        <translation>下載與更新失敗：程式旁的下載代理程式 (DA*.bin) 或分散檔 (scat.txt) 遺失或損毀，或韌體映像是空的。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the connection to the logger was lost. Please check the cable and then download again.</source>
        <comment>766</comment>
        <translation>下載與更新失敗：與記錄器的連線中斷。請檢查連接線，然後重新下載。</translation>
    </message>
    <message>
        <source>Kavro T-580 Firmware (*.bin)</source>
        <comment>767</comment>
        <translation>Kavro T-580 韌體 (*.bin)</translation>
    </message>
    <message>
        <source>Bluetooth address of the logger: %1</source>
        <comment>768</comment>
        <translation>記錄器的藍牙位址: %1</translation>
    </message>
    <message>
        <source>Saved Bluetooth address: %1</source>
        <comment>769</comment>
        <translation>已儲存的藍牙位址: %1</translation>
    </message>
    <message>
        <source>none</source>
        <comment>770</comment>
        <translation>無</translation>
    </message>
    <message>
        <source>The logger did not tell its Bluetooth address.</source>
        <comment>771</comment>
        <translation>記錄器沒有回報其藍牙位址。</translation>
    </message>
    <message>
        <source>Upload Failed! No Device Connected! </source>
        <comment>790</comment>
        <translation>上傳失敗! 沒有連線的裝置! </translation>
    </message>
    <message>
        <source>%1% received (%2 KB/s, %3 left)</source>
        <comment>791</comment>
        <translation>已接收 %1%（%2 KB/s，剩餘 %3）</translation>
    </message>
    <message>
        <source>%1% received</source>
        <comment>792</comment>
        <translation>已接收 %1%</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2 of its records are valid. Nothing was written.</source>
        <comment>640</comment>
        <translation>檔案 %1 不是軌跡記錄檔: 只有 %2 的記錄有效。沒有寫入任何檔案。</translation>
    </message>
    <message>
        <source>Upload finished, but %1 of the files could not be written.</source>
        <comment>800</comment>
        <translation>上傳完成,但有 %1 個檔案無法寫入。</translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>560</comment>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <comment>561</comment>
        <translation>否</translation>
    </message>
    <message>
        <source>Erase all track data on the logger? This cannot be undone.</source>
        <comment>545</comment>
        <translation>要清除記錄器上的所有軌跡資料嗎?此操作無法復原。</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <comment>700</comment>
        <translation>[y/N] (是/否)</translation>
    </message>
    <message>
        <source>There is no terminal to ask on: add --yes to go ahead.</source>
        <comment>701</comment>
        <translation>沒有可詢問的終端機: 加上 --yes 以繼續。</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <comment>702</comment>
        <translation>沒有做任何變更。</translation>
    </message>
    <message>
        <source>Write the firmware %1 (version %2) into the logger on %3? Do not disconnect the cable until the update has finished.</source>
        <comment>780</comment>
        <translation>要將韌體 %1 (版本 %2) 寫入 %3 上的記錄器嗎?更新完成前請勿拔除連接線。</translation>
    </message>
    <message>
        <source>Write the firmware %1 into the logger on %2? Do not disconnect the cable until the update has finished.</source>
        <comment>781</comment>
        <translation>要將韌體 %1 寫入 %2 上的記錄器嗎?更新完成前請勿拔除連接線。</translation>
    </message>
    <message>
        <source>Nothing answered on %1. Try Auto Detect, or choose another port.</source>
        <comment>546</comment>
        <translation>%1 上沒有任何回應。請試試自動偵測,或選擇其他連接埠。</translation>
    </message>
    <message>
        <source>Nothing answered on %1. "kavro ports" lists the ports and the one Auto Detect picks; name another with --port.</source>
        <comment>547</comment>
        <translation>%1 上沒有任何回應。"kavro ports" 會列出連接埠及自動偵測選擇的連接埠;請用 --port 指定其他連接埠。</translation>
    </message>
    <message>
        <source>Auto Detect found no CP210x USB bridge: check the logger's cable, or choose its port from the list.</source>
        <comment>548</comment>
        <translation>自動偵測找不到 CP210x USB 橋接器: 請檢查記錄器的連接線,或從清單中選擇其連接埠。</translation>
    </message>
    <message>
        <source>No such folder</source>
        <comment>690</comment>
        <translation>沒有這個資料夾</translation>
    </message>
    <message>
        <source>No photo matched the track log: the photos were taken from %1 to %2, the track log runs from %3 to %4 (times at UTC%5). Check the time zone the camera clock was set to, or calibrate the camera time.</source>
        <comment>691</comment>
        <translation>沒有任何照片對應到軌跡記錄: 照片拍攝時間為 %1 至 %2,軌跡記錄時間為 %3 至 %4 (時間為 UTC%5)。請檢查相機時鐘所設的時區,或校正相機時間。</translation>
    </message>
    <message>
        <source>Unknown time zone name &quot;%1&quot;: the zone database of this system has no zone of that name. &quot;kavro zones TEXT&quot; lists the zones whose names contain TEXT.</source>
        <comment>850</comment>
        <translation>未知的時區名稱「%1」：本系統的時區資料庫沒有此名稱的時區。「kavro zones TEXT」會列出名稱含有 TEXT 的時區。</translation>
    </message>
    <message>
        <source>No time zone name contains &quot;%1&quot;.</source>
        <comment>851</comment>
        <translation>沒有時區名稱含有「%1」。</translation>
    </message>
    <message>
        <source>%1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>852</comment>
        <translation>有 %1 筆記錄因 GPS 週數翻轉而提早了 1024 或 2048 週，其日期已更正。</translation>
    </message>
    <message>
        <source>Upload Succeed! %1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>853</comment>
        <translation>上傳成功！有 %1 筆記錄因 GPS 週數翻轉而提早了 1024 或 2048 週，其日期已更正。</translation>
    </message>
    <message>
        <source>Correct dates 1024 weeks early (GPS week rollover)</source>
        <comment>854</comment>
        <translation>更正提早 1024 週的日期（GPS 週數翻轉）</translation>
    </message>
    <message>
        <source>%1: taken at UTC%2, the time zone stored in the photo (%3).</source>
        <comment>855</comment>
        <translation>%1：拍攝於 UTC%2，即相片中儲存的時區（%3）。</translation>
    </message>
    <message>
        <source>%1: its camera time falls in the hour skipped when the clocks went forward; it was moved forward past it, to UTC%2.</source>
        <comment>856</comment>
        <translation>%1：相機時間落在時鐘撥快時跳過的那一小時；已往後移過該小時，改為 UTC%2。</translation>
    </message>
    <message>
        <source>%1: its camera time occurs twice as the clocks went back; the first, at UTC%2, was used.</source>
        <comment>857</comment>
        <translation>%1：時鐘撥慢時此相機時間出現兩次；採用第一次，即 UTC%2。</translation>
    </message>
    <message>
        <source>Use this time zone also for photos that store their own</source>
        <comment>858</comment>
        <translation>相片自帶時區時也使用此時區</translation>
    </message>
    <message>
        <source>Offset</source>
        <comment>859</comment>
        <translation>時差</translation>
    </message>
    <message>
        <source>%1 from the photo (%2)</source>
        <comment>860</comment>
        <translation>%1，取自相片（%2）</translation>
    </message>
    <message>
        <source>%1 (chosen zone)</source>
        <comment>861</comment>
        <translation>%1（所選時區）</translation>
    </message>
    <message>
        <source>%1 (chosen zone; skipped hour, moved forward)</source>
        <comment>862</comment>
        <translation>%1（所選時區；跳過的小時，已往後移）</translation>
    </message>
    <message>
        <source>%1 (chosen zone; repeated hour, the earlier offset)</source>
        <comment>863</comment>
        <translation>%1（所選時區；重複的小時，採用較早的時差）</translation>
    </message>
    <message>
        <source>The logger&apos;s memory changed since the last download: reading all of it.</source>
        <comment>900</comment>
        <translation>記錄器的記憶體自上次下載後已變更: 將讀取全部記憶體。</translation>
    </message>
    <message>
        <source>The logger&apos;s memory has wrapped around since the last download: reading all of it.</source>
        <comment>901</comment>
        <translation>記錄器的記憶體自上次下載後已循環覆寫: 將讀取全部記憶體。</translation>
    </message>
    <message>
        <source>The kept copy of the logger&apos;s memory is damaged: reading all of it.</source>
        <comment>902</comment>
        <translation>保存的記錄器記憶體副本已損壞: 將讀取全部記憶體。</translation>
    </message>
    <message>
        <source>Sectors read from the logger: %1, from the kept copy: %2 (%3 bytes requested)</source>
        <comment>903</comment>
        <translation>從記錄器讀取的磁區: %1,來自保存副本: %2 (要求 %3 位元組)</translation>
    </message>
    <message>
        <source>Read only new data</source>
        <comment>904</comment>
        <translation>只讀取新資料</translation>
    </message>
    <message>
        <source>Clear after download</source>
        <comment>905</comment>
        <translation>下載後清除</translation>
    </message>
    <message>
        <source>The log was not cleared: the download did not complete.</source>
        <comment>906</comment>
        <translation>記錄未清除: 下載未完成。</translation>
    </message>
    <message>
        <source>The log was not cleared: %1 of the files could not be written.</source>
        <comment>907</comment>
        <translation>記錄未清除: 有 %1 個檔案無法寫入。</translation>
    </message>
    <message>
        <source>The photo cannot be read: %1</source>
        <comment>1700</comment>
        <translation>無法讀取此相片：%1</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be read: %2</source>
        <comment>1701</comment>
        <translation>無法讀取附屬檔 %1：%2</translation>
    </message>
    <message>
        <source>the sidecar %1 already holds a position (choose Replace positions to overwrite it)</source>
        <comment>1702</comment>
        <translation>附屬檔 %1 已有位置（選擇「取代位置」可覆寫）</translation>
    </message>
    <message>
        <source>the sidecar %1 is not XMP; it was left as it is</source>
        <comment>1703</comment>
        <translation>附屬檔 %1 不是 XMP，保持原狀</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be written: %2</source>
        <comment>1704</comment>
        <translation>無法寫入附屬檔 %1：%2</translation>
    </message>
    <message>
        <source>No sidecar for %1: %2</source>
        <comment>1705</comment>
        <translation>%1 沒有附屬檔：%2</translation>
    </message>
    <message>
        <source>writing positions into photos is off</source>
        <comment>1706</comment>
        <translation>未開啟將位置寫入相片</translation>
    </message>
    <message>
        <source>no position for this photo</source>
        <comment>1707</comment>
        <translation>此相片沒有位置</translation>
    </message>
    <message>
        <source>File</source>
        <comment>1720</comment>
        <translation>檔案</translation>
    </message>
    <message>
        <source>Captured</source>
        <comment>1721</comment>
        <translation>拍攝時間</translation>
    </message>
    <message>
        <source>UTC used</source>
        <comment>1722</comment>
        <translation>使用的 UTC</translation>
    </message>
    <message>
        <source>Match</source>
        <comment>1723</comment>
        <translation>配對</translation>
    </message>
    <message>
        <source>Seconds to nearest point</source>
        <comment>1724</comment>
        <translation>與最近點相差秒數</translation>
    </message>
    <message>
        <source>Latitude</source>
        <comment>1725</comment>
        <translation>緯度</translation>
    </message>
    <message>
        <source>Longitude</source>
        <comment>1726</comment>
        <translation>經度</translation>
    </message>
    <message>
        <source>Altitude</source>
        <comment>1727</comment>
        <translation>高度</translation>
    </message>
    <message>
        <source>Written</source>
        <comment>1728</comment>
        <translation>寫入</translation>
    </message>
    <message>
        <source>Reason</source>
        <comment>1729</comment>
        <translation>原因</translation>
    </message>
    <message>
        <source>exact</source>
        <comment>1730</comment>
        <translation>精確</translation>
    </message>
    <message>
        <source>interpolated</source>
        <comment>1731</comment>
        <translation>內插</translation>
    </message>
    <message>
        <source>nearest</source>
        <comment>1732</comment>
        <translation>最近點</translation>
    </message>
    <message>
        <source>too far from the track</source>
        <comment>1733</comment>
        <translation>離軌跡太遠</translation>
    </message>
    <message>
        <source>outside the track</source>
        <comment>1734</comment>
        <translation>在軌跡之外</translation>
    </message>
    <message>
        <source>no capture time</source>
        <comment>1735</comment>
        <translation>沒有拍攝時間</translation>
    </message>
    <message>
        <source>unreadable</source>
        <comment>1736</comment>
        <translation>無法讀取</translation>
    </message>
    <message>
        <source>make refused</source>
        <comment>1737</comment>
        <translation>不支援此相機</translation>
    </message>
    <message>
        <source>nothing</source>
        <comment>1738</comment>
        <translation>無</translation>
    </message>
    <message>
        <source>copy %1</source>
        <comment>1739</comment>
        <translation>副本 %1</translation>
    </message>
    <message>
        <source>sidecar %1</source>
        <comment>1740</comment>
        <translation>附屬檔 %1</translation>
    </message>
    <message>
        <source>would write copy %1</source>
        <comment>1741</comment>
        <translation>將寫入副本 %1</translation>
    </message>
    <message>
        <source>would write sidecar %1</source>
        <comment>1742</comment>
        <translation>將寫入附屬檔 %1</translation>
    </message>
    <message>
        <source>%1% of %2 photos</source>
        <comment>1743</comment>
        <translation>%2 張相片已完成 %1%</translation>
    </message>
    <message>
        <source>Sidecars not written: %1</source>
        <comment>1744</comment>
        <translation>未寫入的附屬檔：%1</translation>
    </message>
    <message>
        <source>Interpolate between the two track points around a photo's time</source>
        <comment>1745</comment>
        <translation>在相片時間前後的兩個軌跡點之間內插</translation>
    </message>
    <message>
        <source>Maximum gap between the two points (seconds):</source>
        <comment>1746</comment>
        <translation>兩點之間的最大間隔（秒）：</translation>
    </message>
    <message>
        <source>Write XMP sidecars for JPEG photos too, instead of copies</source>
        <comment>1747</comment>
        <translation>JPEG 相片也寫入 XMP 附屬檔，而非副本</translation>
    </message>
    <message>
        <source>Name sidecars NAME.EXT.xmp (instead of NAME.xmp)</source>
        <comment>1748</comment>
        <translation>附屬檔命名為 NAME.EXT.xmp（而非 NAME.xmp）</translation>
    </message>
    <message>
        <source>Replace positions that existing sidecars already hold</source>
        <comment>1749</comment>
        <translation>取代現有附屬檔中已有的位置</translation>
    </message>
    <message>
        <source>Preview</source>
        <comment>1750</comment>
        <translation>預覽</translation>
    </message>
    <message>
        <source>Preview finished: nothing was written.</source>
        <comment>1751</comment>
        <translation>預覽完成：未寫入任何檔案。</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2% of its records are valid. It is not shown on the map.</source>
        <comment>1200</comment>
        <translation>檔案 %1 不是軌跡記錄檔：只有 %2% 的記錄有效。不會顯示在地圖上。</translation>
    </message>
    <message>
        <source>%1 m</source>
        <comment>1201</comment>
        <translation>%1 公尺</translation>
    </message>
    <message>
        <source>%1 km</source>
        <comment>1202</comment>
        <translation>%1 公里</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <comment>1203</comment>
        <translation>無法編碼圖片</translation>
    </message>
    <message>
        <source>Nothing to draw: the track log files hold no track points.</source>
        <comment>1204</comment>
        <translation>沒有可繪製的內容：軌跡記錄檔中沒有軌跡點。</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, each from %1 to %2 pixels, e.g. 1200x800.</source>
        <comment>1205</comment>
        <translation>--size 需要 寬x高，各為 %1 到 %2 像素，例如 1200x800。</translation>
    </message>
    <message>
        <source>--tiles and --no-tiles cannot be given together.</source>
        <comment>1206</comment>
        <translation>--tiles 與 --no-tiles 不能同時使用。</translation>
    </message>
    <message>
        <source>Map tiles unavailable: %1</source>
        <comment>1210</comment>
        <translation>無法取得地圖圖塊：%1</translation>
    </message>
    <message>
        <source>the server sent something that is not a picture</source>
        <comment>1211</comment>
        <translation>伺服器傳回的不是圖片</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <comment>1212</comment>
        <translation>伺服器未及時回應</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <comment>1213</comment>
        <translation>伺服器回應 %1 %2</translation>
    </message>
    <message>
        <source>© OpenStreetMap contributors</source>
        <comment>1214</comment>
        <translation>© OpenStreetMap 貢獻者</translation>
    </message>
    <message>
        <source>The tile address must start with http:// or https:// and contain {z}, {x} and {y}: %1</source>
        <comment>1215</comment>
        <translation>圖塊位址必須以 http:// 或 https:// 開頭，並包含 {z}、{x} 和 {y}：%1</translation>
    </message>
    <message>
        <source>map tiles switched off</source>
        <comment>1216</comment>
        <translation>已關閉地圖圖塊</translation>
    </message>
    <message>
        <source>Map</source>
        <comment>1220</comment>
        <translation>地圖</translation>
    </message>
    <message>
        <source>Open...</source>
        <comment>1221</comment>
        <translation>開啟...</translation>
    </message>
    <message>
        <source>Fit</source>
        <comment>1222</comment>
        <translation>全部顯示</translation>
    </message>
    <message>
        <source>Save Picture...</source>
        <comment>1223</comment>
        <translation>儲存圖片...</translation>
    </message>
    <message>
        <source>Tiles:</source>
        <comment>1224</comment>
        <translation>圖塊：</translation>
    </message>
    <message>
        <source>Height over:</source>
        <comment>1225</comment>
        <translation>高度對應：</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>1226</comment>
        <translation>距離</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>1227</comment>
        <translation>時間</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <comment>1228</comment>
        <translation>PNG 圖片 (*.png)</translation>
    </message>
    <message>
        <source>Height: %1 m</source>
        <comment>1229</comment>
        <translation>高度：%1 公尺</translation>
    </message>
    <message>
        <source>Lowest: %1 m</source>
        <comment>1230</comment>
        <translation>最低：%1 公尺</translation>
    </message>
    <message>
        <source>Highest: %1 m</source>
        <comment>1231</comment>
        <translation>最高：%1 公尺</translation>
    </message>
    <message>
        <source>Climb: %1 m</source>
        <comment>1232</comment>
        <translation>爬升：%1 公尺</translation>
    </message>
    <message>
        <source>Length: %1 km</source>
        <comment>1233</comment>
        <translation>長度：%1 公里</translation>
    </message>
    <message>
        <source>Match: %1</source>
        <comment>1234</comment>
        <translation>配對：%1</translation>
    </message>
    <message>
        <source>Open a track log file (*.trl) to see it on the map.</source>
        <comment>1235</comment>
        <translation>開啟軌跡記錄檔 (*.trl) 以在地圖上檢視。</translation>
    </message>
    <message>
        <source>Track Log (*.trl)</source>
        <comment>1236</comment>
        <translation>軌跡記錄 (*.trl)</translation>
    </message>
    <message>
        <source>Position: %1, %2</source>
        <comment>1237</comment>
        <translation>位置：%1, %2</translation>
    </message>
    <message>
        <source>loading map tiles...</source>
        <comment>1238</comment>
        <translation>正在載入地圖圖塊...</translation>
    </message>
    <message>
        <source>%1 of %2 tiles did not arrive within %3 s</source>
        <comment>1239</comment>
        <translation>%2 個圖塊中有 %1 個未在 %3 秒內送達</translation>
    </message>
    <message>
        <source>not located</source>
        <comment>1240</comment>
        <translation>未定位</translation>
    </message>
    <message>
        <source>located on the track</source>
        <comment>1241</comment>
        <translation>已定位於軌跡上</translation>
    </message>
    <message>
        <source>Taken: %1</source>
        <comment>1242</comment>
        <translation>拍攝時間：%1</translation>
    </message>
    <message>
        <source>Photos on the map: %1 of %2</source>
        <comment>1243</comment>
        <translation>地圖上的照片：%2 張中的 %1 張</translation>
    </message>
</context>
</TS>
