<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Kavro</name>
    <message>
        <source>&amp;About Kavro Logger Utility...</source>
        <comment>101</comment>
        <translation>关于 Kavro Logger Utility(&amp;A)...</translation>
    </message>
    <message>
        <source>Track Log (*.trl)|*.trl|</source>
        <comment>108</comment>
        <translation>轨迹记录 (*.trl)|*.trl|</translation>
    </message>
    <message>
        <source>Track Log (*.kml)|*.kml|</source>
        <comment>111</comment>
        <translation>轨迹记录 (*.kml)|*.kml|</translation>
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
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>302</comment>
        <translation>取消</translation>
    </message>
    <message>
        <source>Apply All</source>
        <comment>303</comment>
        <translation>全部应用</translation>
    </message>
    <message>
        <source>Default All</source>
        <comment>304</comment>
        <translation>全部默认</translation>
    </message>
    <message>
        <source>Device Setting</source>
        <comment>305</comment>
        <translation>设备设置</translation>
    </message>
    <message>
        <source>COM Port</source>
        <comment>306</comment>
        <translation>COM 端口</translation>
    </message>
    <message>
        <source>Connect</source>
        <comment>307</comment>
        <translation>连接</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <comment>308</comment>
        <translation>断开连接</translation>
    </message>
    <message>
        <source>Connect Status Message</source>
        <comment>309</comment>
        <translation>连接状态信息</translation>
    </message>
    <message>
        <source>Connecting to device...</source>
        <comment>310</comment>
        <translation>正在连接设备...</translation>
    </message>
    <message>
        <source>Device Connected!</source>
        <comment>311</comment>
        <translation>设备已连接!</translation>
    </message>
    <message>
        <source>Failed connecting to device!</source>
        <comment>312</comment>
        <translation>连接设备失败!</translation>
    </message>
    <message>
        <source>Disconnecting device...</source>
        <comment>313</comment>
        <translation>正在断开设备...</translation>
    </message>
    <message>
        <source>Device Disconnected!</source>
        <comment>314</comment>
        <translation>设备已断开!</translation>
    </message>
    <message>
        <source>Timeout. Device Disconnected!</source>
        <comment>315</comment>
        <translation>超时。设备已断开!</translation>
    </message>
    <message>
        <source>Connect Status</source>
        <comment>316</comment>
        <translation>连接状态</translation>
    </message>
    <message>
        <source>Device Information</source>
        <comment>317</comment>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Device Type</source>
        <comment>318</comment>
        <translation>设备类型</translation>
    </message>
    <message>
        <source>[FW] [HW] Version</source>
        <comment>320</comment>
        <translation>[FW] [HW] 版本</translation>
    </message>
    <message>
        <source>Memory Usage</source>
        <comment>321</comment>
        <translation>内存使用量</translation>
    </message>
    <message>
        <source>User Name</source>
        <comment>322</comment>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Write Name</source>
        <comment>323</comment>
        <translation>写入名称</translation>
    </message>
    <message>
        <source>Track Log Setting</source>
        <comment>324</comment>
        <translation>轨迹记录设置</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <comment>325</comment>
        <translation>覆盖</translation>
    </message>
    <message>
        <source>Full and Stop</source>
        <comment>326</comment>
        <translation>满后停止</translation>
    </message>
    <message>
        <source>Second</source>
        <comment>327</comment>
        <translation>时间</translation>
    </message>
    <message>
        <source>sec.</source>
        <comment>328</comment>
        <translation>秒</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>329</comment>
        <translation>距离</translation>
    </message>
    <message>
        <source>meter</source>
        <comment>330</comment>
        <translation>米</translation>
    </message>
    <message>
        <source>Read Status Message</source>
        <comment>331</comment>
        <translation>读取状态信息</translation>
    </message>
    <message>
        <source>Updating Second Settings...</source>
        <comment>335</comment>
        <translation>正在更新秒数设置...</translation>
    </message>
    <message>
        <source>Updating Distance Settings...</source>
        <comment>336</comment>
        <translation>正在更新距离设置...</translation>
    </message>
    <message>
        <source>Updating Settings Successfully!</source>
        <comment>337</comment>
        <translation>设置更新成功!</translation>
    </message>
    <message>
        <source>Upload/Clear Status Message</source>
        <comment>338</comment>
        <translation>上传/清除状态信息</translation>
    </message>
    <message>
        <source>Start Uploading...</source>
        <comment>339</comment>
        <translation>开始上传...</translation>
    </message>
    <message>
        <source>Upload Succeed!</source>
        <comment>340</comment>
        <translation>上传成功!</translation>
    </message>
    <message>
        <source>Start Clearing...</source>
        <comment>341</comment>
        <translation>开始清除...</translation>
    </message>
    <message>
        <source>Clear Succeed!</source>
        <comment>342</comment>
        <translation>清除成功!</translation>
    </message>
    <message>
        <source>Upload Device Track Log Data to PC</source>
        <comment>343</comment>
        <translation>将设备轨迹记录数据上传到电脑</translation>
    </message>
    <message>
        <source>Clear Device Track Log Data</source>
        <comment>344</comment>
        <translation>清除设备轨迹记录数据</translation>
    </message>
    <message>
        <source>Upload</source>
        <comment>345</comment>
        <translation>上传</translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>346</comment>
        <translation>清除</translation>
    </message>
    <message>
        <source>Transform to File</source>
        <comment>347</comment>
        <translation>转存为文件</translation>
    </message>
    <message>
        <source>Please select the directory</source>
        <comment>348</comment>
        <translation>请选择目录</translation>
    </message>
    <message>
        <source>Track Log File Saved Directory</source>
        <comment>349</comment>
        <translation>轨迹记录文件保存目录</translation>
    </message>
    <message>
        <source>Combine JPEG File</source>
        <comment>350</comment>
        <translation>结合 JPEG 文件</translation>
    </message>
    <message>
        <source>Write Total Track Log</source>
        <comment>351</comment>
        <translation>写入完整轨迹记录</translation>
    </message>
    <message>
        <source>Track Log Format</source>
        <comment>352</comment>
        <translation>轨迹记录格式</translation>
    </message>
    <message>
        <source>Track Log File Format Conversion</source>
        <comment>353</comment>
        <translation>轨迹记录文件格式转换</translation>
    </message>
    <message>
        <source>Source File(*.trl):</source>
        <comment>354</comment>
        <translation>源文件(*.trl):</translation>
    </message>
    <message>
        <source>Time Zone(UTC+-):</source>
        <comment>355</comment>
        <translation>时区(UTC+-):</translation>
    </message>
    <message>
        <source>Output Format:</source>
        <comment>356</comment>
        <translation>输出格式:</translation>
    </message>
    <message>
        <source>Convert Format:</source>
        <comment>357</comment>
        <translation>转换格式:</translation>
    </message>
    <message>
        <source>Convert</source>
        <comment>358</comment>
        <translation>转换</translation>
    </message>
    <message>
        <source>Convert Status Message</source>
        <comment>359</comment>
        <translation>转换状态信息</translation>
    </message>
    <message>
        <source>Converting...</source>
        <comment>360</comment>
        <translation>正在转换...</translation>
    </message>
    <message>
        <source>Convert Successfully!</source>
        <comment>361</comment>
        <translation>转换成功!</translation>
    </message>
    <message>
        <source>Track Log Photo</source>
        <comment>362</comment>
        <translation>轨迹记录照片</translation>
    </message>
    <message>
        <source>Combine Photo Link in Track Log</source>
        <comment>363</comment>
        <translation>在轨迹记录中结合照片链接</translation>
    </message>
    <message>
        <source>JPEG(*.jpg) Photo Directory:</source>
        <comment>364</comment>
        <translation>JPEG(*.jpg) 照片目录:</translation>
    </message>
    <message>
        <source>Photo Combine Setting</source>
        <comment>365</comment>
        <translation>照片结合设置</translation>
    </message>
    <message>
        <source>Photo Parsed</source>
        <comment>366</comment>
        <translation>已解析照片</translation>
    </message>
    <message>
        <source>Pass:</source>
        <comment>367</comment>
        <translation>通过:</translation>
    </message>
    <message>
        <source>Error:</source>
        <comment>368</comment>
        <translation>错误:</translation>
    </message>
    <message>
        <source>Photo Combined</source>
        <comment>369</comment>
        <translation>已结合照片</translation>
    </message>
    <message>
        <source>Failed:</source>
        <comment>370</comment>
        <translation>失败:</translation>
    </message>
    <message>
        <source>Time Zone For Photos(UTC+-):</source>
        <comment>371</comment>
        <translation>照片时区(UTC+-):</translation>
    </message>
    <message>
        <source>Calibrate Time(Speed up(+) or slow down(-) your camera time to equal to device showing time):</source>
        <comment>372</comment>
        <translation>校准时间(将相机时间调快(+)或调慢(-),使其与设备显示的时间相同):</translation>
    </message>
    <message>
        <source>Day</source>
        <comment>373</comment>
        <translation>日</translation>
    </message>
    <message>
        <source>Hour</source>
        <comment>374</comment>
        <translation>时</translation>
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
        <translation>轨迹记录处理</translation>
    </message>
    <message>
        <source>Record Style</source>
        <comment>378</comment>
        <translation>记录方式</translation>
    </message>
    <message>
        <source>Updating Record Style Settings...</source>
        <comment>379</comment>
        <translation>正在更新记录方式设置...</translation>
    </message>
    <message>
        <source>Please select Kavro track log source file(*.trl).</source>
        <comment>380</comment>
        <translation>请选择 Kavro 轨迹记录源文件(*.trl)。</translation>
    </message>
    <message>
        <source>Please select photo directory.</source>
        <comment>381</comment>
        <translation>请选择照片目录。</translation>
    </message>
    <message>
        <source>Track Log File Status</source>
        <comment>382</comment>
        <translation>轨迹记录文件状态</translation>
    </message>
    <message>
        <source>Create File OK</source>
        <comment>383</comment>
        <translation>创建文件成功</translation>
    </message>
    <message>
        <source>Device not connected!</source>
        <comment>384</comment>
        <translation>设备未连接!</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Kavro. All rights reserved.</source>
        <comment>385</comment>
        <translation>Copyright (C) 2026 Kavro. 版权所有。</translation>
    </message>
    <message>
        <source>KavroUtility Version</source>
        <comment>386</comment>
        <translation>KavroUtility 版本</translation>
    </message>
    <message>
        <source>No found photo taken date time.</source>
        <comment>387</comment>
        <translation>找不到照片拍摄日期时间。</translation>
    </message>
    <message>
        <source>Photo taken date time format error.</source>
        <comment>388</comment>
        <translation>照片拍摄日期时间格式错误。</translation>
    </message>
    <message>
        <source>No mapping any track log point.</source>
        <comment>389</comment>
        <translation>没有对应到任何轨迹记录点。</translation>
    </message>
    <message>
        <source>UserName is not Correct!! It can&apos;t contain any of these characters: * (space) . \ : / &quot; ? &lt; &gt; |</source>
        <comment>390</comment>
        <translation>用户名不正确!! 不能包含以下任何字符: * (空格) . \ : / &quot; ? &lt; &gt; |</translation>
    </message>
    <message>
        <source>Please select track log file directory.</source>
        <comment>391</comment>
        <translation>请选择轨迹记录文件目录。</translation>
    </message>
    <message>
        <source>Transmission interrupt !</source>
        <comment>392</comment>
        <translation>传输中断!</translation>
    </message>
    <message>
        <source>A photo is discarded when:</source>
        <comment>393</comment>
        <translation>以下情况的照片会被舍弃:</translation>
    </message>
    <message>
        <source>It was taken earlier than the first or later than the last track log point.</source>
        <comment>394</comment>
        <translation>拍摄时间早于第一个或晚于最后一个轨迹记录点。</translation>
    </message>
    <message>
        <source>It was taken between two track log points that are more than 2 minutes apart.</source>
        <comment>395</comment>
        <translation>拍摄时间位于两个相隔超过 2 分钟的轨迹记录点之间。</translation>
    </message>
    <message>
        <source>ft</source>
        <comment>396</comment>
        <translation>英尺</translation>
    </message>
    <message>
        <source>Auto Detect</source>
        <comment>397</comment>
        <translation>自动检测</translation>
    </message>
    <message>
        <source>Write Track Log Record in Photo</source>
        <comment>398</comment>
        <translation>将轨迹记录写入照片</translation>
    </message>
    <message>
        <source>Write track log record in photo.(System creates new photo file: *_GPS.jpg)</source>
        <comment>399</comment>
        <translation>将轨迹记录写入照片。(系统会创建新的照片文件: *_GPS.jpg)</translation>
    </message>
    <message>
        <source>Download and Update Firmware</source>
        <comment>400</comment>
        <translation>下载并更新固件</translation>
    </message>
    <message>
        <source>[Warning] Download and update firmware is the very dangerous operation, it may destroy the device system if careless. Please make sure the firmware file format and content is correct before downloading ,and please don&apos;t disconnect cable from device or PC site.</source>
        <comment>401</comment>
        <translation>[警告] 下载并更新固件是非常危险的操作,稍有不慎可能会损坏设备系统。下载前请确认固件文件的格式与内容正确,并请勿从设备或电脑端拔下数据线。</translation>
    </message>
    <message>
        <source>Update Firmware File(*.bin):</source>
        <comment>402</comment>
        <translation>更新固件文件(*.bin):</translation>
    </message>
    <message>
        <source>Download and Update</source>
        <comment>403</comment>
        <translation>下载并更新</translation>
    </message>
    <message>
        <source>Download and Update Status</source>
        <comment>404</comment>
        <translation>下载并更新状态</translation>
    </message>
    <message>
        <source>Initialize Download...</source>
        <comment>405</comment>
        <translation>正在初始化下载...</translation>
    </message>
    <message>
        <source>Initialize Download Agent(DA)...</source>
        <comment>406</comment>
        <translation>正在初始化下载代理(DA)...</translation>
    </message>
    <message>
        <source>Download Download Agent(DA)...</source>
        <comment>407</comment>
        <translation>正在下载下载代理(DA)...</translation>
    </message>
    <message>
        <source>Initialize Download Firmware...</source>
        <comment>408</comment>
        <translation>正在初始化固件下载...</translation>
    </message>
    <message>
        <source>Download and Update Firmware...</source>
        <comment>409</comment>
        <translation>正在下载并更新固件...</translation>
    </message>
    <message>
        <source>Process Finish Procedure...</source>
        <comment>410</comment>
        <translation>正在执行完成程序...</translation>
    </message>
    <message>
        <source>Download and Update Successfully</source>
        <comment>411</comment>
        <translation>下载并更新成功</translation>
    </message>
    <message>
        <source>Please select firmware file(*.bin)</source>
        <comment>412</comment>
        <translation>请选择固件文件(*.bin)</translation>
    </message>
    <message>
        <source>Open COM Port failed! Please select correct COM Port and then download again.</source>
        <comment>413</comment>
        <translation>打开 COM 端口失败! 请选择正确的 COM 端口后重新下载。</translation>
    </message>
    <message>
        <source>No support this camera photo EXIF format, and can&apos;t write track log record into this photo.</source>
        <comment>414</comment>
        <translation>不支持此相机的照片 EXIF 格式,无法将轨迹记录写入此照片。</translation>
    </message>
    <message>
        <source>The firmware file content is wrong, please select correct firmware file and then download again.</source>
        <comment>415</comment>
        <translation>固件文件内容错误,请选择正确的固件文件后重新下载。</translation>
    </message>
    <message>
        <source>User name is not correct! (Allow only ASCII English alphabet and symbol)</source>
        <comment>416</comment>
        <translation>用户名不正确! (只允许 ASCII 英文字母和符号)</translation>
    </message>
    <message>
        <source>The port %1 does not exist.</source>
        <comment>500</comment>
        <translation>端口 %1 不存在。</translation>
    </message>
    <message>
        <source>The port %1 is in use by another program.</source>
        <comment>501</comment>
        <translation>端口 %1 正被其他程序使用。</translation>
    </message>
    <message>
        <source>No permission to open %1: install the kavro-utility package, whose udev rule lets the logged-in user open the logger&apos;s USB bridge (plug the logger in again afterwards), or join the &quot;dialout&quot; group and log in again.</source>
        <comment>502</comment>
        <translation>没有打开 %1 的权限: 请安装 kavro-utility 软件包, 其 udev 规则让已登录的用户可以打开记录器的 USB 转接器 (安装后请重新插入记录器), 或加入 &quot;dialout&quot; 组并重新登录。</translation>
    </message>
    <message>
        <source>The port %1 cannot be opened: %2</source>
        <comment>503</comment>
        <translation>无法打开端口 %1: %2</translation>
    </message>
    <message>
        <source>Connection to Device Failed</source>
        <comment>504</comment>
        <translation>连接设备失败</translation>
    </message>
    <message>
        <source>Not EXIF format.</source>
        <comment>505</comment>
        <translation>Not EXIF format.</translation>
    </message>
    <message>
        <source>Simulated T-580</source>
        <comment>506</comment>
        <translation>模拟 T-580</translation>
    </message>
    <message>
        <source>Clear Failed! No Device Connected! </source>
        <comment>507</comment>
        <translation>清除失败! 没有连接的设备! </translation>
    </message>
    <message>
        <source>read Address: Timeout!</source>
        <comment>508</comment>
        <translation>读取地址: 超时!</translation>
    </message>
    <message>
        <source>No device available</source>
        <comment>509</comment>
        <translation>没有可用的设备</translation>
    </message>
    <message>
        <source>User name is too long: at most 16 characters.</source>
        <comment>510</comment>
        <translation>用户名太长: 最多 16 个字符。</translation>
    </message>
    <message>
        <source>%1 is not a serial port.</source>
        <comment>519</comment>
        <translation>%1 不是串口。</translation>
    </message>
    <message>
        <source>Create File Failed %1: %2</source>
        <comment>600</comment>
        <translation>创建文件失败 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be opened: %2</source>
        <comment>601</comment>
        <translation>无法打开文件 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 cannot be created: %2</source>
        <comment>602</comment>
        <translation>无法创建文件 %1: %2</translation>
    </message>
    <message>
        <source>The file %1 could not be written completely and was not saved: %2</source>
        <comment>603</comment>
        <translation>文件 %1 未能完整写入,因此未保存: %2</translation>
    </message>
    <message>
        <source>The file %1 holds %2 bytes; a log memory image holds exactly %3 bytes.</source>
        <comment>604</comment>
        <translation>文件 %1 有 %2 字节; 记录内存映像必须正好是 %3 字节。</translation>
    </message>
    <message>
        <source>Text(*.txt)</source>
        <comment>605</comment>
        <translation>文本(*.txt)</translation>
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
        <translation>未知的时区 &quot;%1&quot;。请使用表中的标签,例如 +08:00、-03:30 或 00:00。</translation>
    </message>
    <message>
        <source>Convert Failed!</source>
        <comment>610</comment>
        <translation>转换失败!</translation>
    </message>
    <message>
        <source>Missing argument: %1</source>
        <comment>611</comment>
        <translation>缺少参数: %1</translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <comment>612</comment>
        <translation>未知的选项: %1</translation>
    </message>
    <message>
        <source>No track log record was found.</source>
        <comment>613</comment>
        <translation>找不到任何轨迹记录数据。</translation>
    </message>
    <message>
        <source>The directory %1 does not exist.</source>
        <comment>614</comment>
        <translation>目录 %1 不存在。</translation>
    </message>
    <message>
        <source>The output %1 would replace its own source file.</source>
        <comment>615</comment>
        <translation>输出 %1 会覆盖它自己的源文件。</translation>
    </message>
    <message>
        <source>GPX track (*.gpx)</source>
        <comment>616</comment>
        <translation>GPX 轨迹 (*.gpx)</translation>
    </message>
    <message>
        <source>The file cannot be opened: %1</source>
        <comment>650</comment>
        <translation>无法打开文件: %1</translation>
    </message>
    <message>
        <source>The track log file %1 cannot be opened: %2</source>
        <comment>651</comment>
        <translation>无法打开轨迹记录文件 %1: %2</translation>
    </message>
    <message>
        <source>The photo directory %1 cannot be read: %2</source>
        <comment>652</comment>
        <translation>无法读取照片目录 %1: %2</translation>
    </message>
    <message>
        <source>The EXIF layout of this photo is not supported; no copy was written.</source>
        <comment>653</comment>
        <translation>不支持此照片的 EXIF 结构,未写入副本。</translation>
    </message>
    <message>
        <source>Only the first %1 photos are read.</source>
        <comment>654</comment>
        <translation>只读取前 %1 张照片。</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2</source>
        <comment>655</comment>
        <translation>无法写入文件 %1: %2</translation>
    </message>
    <message>
        <source>The calibration must be D:H:M:S, for example 0:1:-5:30, with days from -%1 to %1, hours from -%2 to %2, minutes from -%3 to %3 and seconds from -%4 to %4.</source>
        <comment>656</comment>
        <translation>校正值必须是 日:时:分:秒,例如 0:1:-5:30,其中日为 -%1 到 %1,时为 -%2 到 %2,分为 -%3 到 %3,秒为 -%4 到 %4。</translation>
    </message>
    <message>
        <source>Unknown time zone: %1</source>
        <comment>657</comment>
        <translation>未知的时区: %1</translation>
    </message>
    <message>
        <source>The copy %1 cannot be written: %2</source>
        <comment>658</comment>
        <translation>无法写入副本 %1: %2</translation>
    </message>
    <message>
        <source>Time interval</source>
        <comment>520</comment>
        <translation>时间间隔</translation>
    </message>
    <message>
        <source>Distance interval</source>
        <comment>521</comment>
        <translation>距离间隔</translation>
    </message>
    <message>
        <source>Record mode</source>
        <comment>522</comment>
        <translation>记录模式</translation>
    </message>
    <message>
        <source>Write position</source>
        <comment>523</comment>
        <translation>写入位置</translation>
    </message>
    <message>
        <source>Memory wrapped</source>
        <comment>524</comment>
        <translation>内存已循环覆盖</translation>
    </message>
    <message>
        <source>Recording basis</source>
        <comment>525</comment>
        <translation>记录依据</translation>
    </message>
    <message>
        <source>Time zone</source>
        <comment>526</comment>
        <translation>时区</translation>
    </message>
    <message>
        <source>Distance unit</source>
        <comment>527</comment>
        <translation>距离单位</translation>
    </message>
    <message>
        <source>not read</source>
        <comment>528</comment>
        <translation>未读取</translation>
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
        <translation>%1 个十分之一秒</translation>
    </message>
    <message>
        <source>%1 tenths of a metre</source>
        <comment>532</comment>
        <translation>%1 个十分之一米</translation>
    </message>
    <message>
        <source>%1 free records</source>
        <comment>533</comment>
        <translation>%1 条可用记录</translation>
    </message>
    <message>
        <source>CP210x bridge</source>
        <comment>534</comment>
        <translation>CP210x 转接器</translation>
    </message>
    <message>
        <source>Prolific bridge</source>
        <comment>535</comment>
        <translation>Prolific 转接器</translation>
    </message>
    <message>
        <source>No serial port was found.</source>
        <comment>536</comment>
        <translation>找不到任何串口。</translation>
    </message>
    <message>
        <source>The simulated logger cannot be started: %1</source>
        <comment>537</comment>
        <translation>无法启动模拟记录器: %1</translation>
    </message>
    <message>
        <source>%1 %2 is not in the list; choose one of: %3</source>
        <comment>538</comment>
        <translation>%1 %2 不在列表中; 请从以下选择: %3</translation>
    </message>
    <message>
        <source>The logger has 3 or fewer free records: its recording settings cannot be changed.</source>
        <comment>539</comment>
        <translation>记录器的可用记录不超过 3 条: 无法更改其记录设置。</translation>
    </message>
    <message>
        <source>Name the logger&apos;s port with --port PATH, or use --simulate[=SCENARIO].</source>
        <comment>540</comment>
        <translation>请用 --port 路径 指定记录器的端口,或使用 --simulate[=场景]。</translation>
    </message>
    <message>
        <source>Unknown scenario &quot;%1&quot;; choose one of: %2</source>
        <comment>541</comment>
        <translation>未知的场景 &quot;%1&quot;; 请从以下选择: %2</translation>
    </message>
    <message>
        <source>User name sent to the logger: %1</source>
        <comment>542</comment>
        <translation>已将用户名发送到记录器: %1</translation>
    </message>
    <message>
        <source>The logger stopped answering on %1.</source>
        <comment>543</comment>
        <translation>记录器在 %1 上停止响应。</translation>
    </message>
    <message>
        <source>No geotagged copy of %1: %2</source>
        <comment>710</comment>
        <translation>未创建 %1 的 GPS 副本: %2</translation>
    </message>
    <message>
        <source>the layout of its EXIF data is not supported</source>
        <comment>711</comment>
        <translation>不支持此照片的 EXIF 数据布局</translation>
    </message>
    <message>
        <source>the matched track point has no valid latitude, longitude or altitude (a damaged record)</source>
        <comment>712</comment>
        <translation>对应的轨迹点没有有效的纬度、经度或高度 (记录已损坏)</translation>
    </message>
    <message>
        <source>Geotagged copies written: %1 of %2</source>
        <comment>713</comment>
        <translation>已写入 GPS 副本: %1 / %2</translation>
    </message>
    <message>
        <source>Geotagged copies not written: %1</source>
        <comment>714</comment>
        <translation>未能写入的 GPS 副本: %1</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <comment>750</comment>
        <translation>未知的命令: %1</translation>
    </message>
    <message>
        <source>Run &quot;%1 --help&quot; to see the options.</source>
        <comment>751</comment>
        <translation>运行 &quot;%1 --help&quot; 以查看选项。</translation>
    </message>
    <message>
        <source>The firmware image is %1 bytes, larger than the %2 bytes the logger can take. Please select the correct firmware file.</source>
        <comment>760</comment>
        <translation>固件映像有 %1 字节，超过记录器可容纳的 %2 字节。请选择正确的固件文件。</translation>
    </message>
    <message>
        <source>The firmware image copy cannot be written in the folder %1. Please put the firmware file in a folder you can write to and then download again.</source>
        <comment>761</comment>
        <translation>无法在文件夹 %1 中写入固件映像副本。请将固件文件放在可写入的文件夹中，然后重新下载。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger&apos;s boot ROM did not answer. The firmware was not changed.</source>
        <comment>762</comment>
        <translation>下载与更新失败：记录器的启动 ROM 没有响应。固件未被更改。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger stopped answering during the transfer. Please download again.</source>
        <comment>763</comment>
        <translation>下载与更新失败：传输期间记录器停止响应。请重新下载。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the logger refused the firmware. Please select the correct firmware file and then download again.</source>
        <comment>764</comment>
        <translation>下载与更新失败：记录器拒绝了此固件。请选择正确的固件文件，然后重新下载。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the download agent (DA*.bin) or the scatter file (scat.txt) beside the program is missing or damaged, or the firmware image is empty.</source>
        <comment>765</comment>
        <translation>下载与更新失败：程序旁的下载代理 (DA*.bin) 或分散文件 (scat.txt) 缺失或损坏，或固件映像为空。</translation>
    </message>
    <message>
        <source>Download and Update Failed: the connection to the logger was lost. Please check the cable and then download again.</source>
        <comment>766</comment>
        <translation>下载与更新失败：与记录器的连接中断。请检查连接线，然后重新下载。</translation>
    </message>
    <message>
        <source>Kavro T-580 Firmware (*.bin)</source>
        <comment>767</comment>
        <translation>Kavro T-580 固件 (*.bin)</translation>
    </message>
    <message>
        <source>Bluetooth address of the logger: %1</source>
        <comment>768</comment>
        <translation>记录器的蓝牙地址: %1</translation>
    </message>
    <message>
        <source>Saved Bluetooth address: %1</source>
        <comment>769</comment>
        <translation>已保存的蓝牙地址: %1</translation>
    </message>
    <message>
        <source>none</source>
        <comment>770</comment>
        <translation>无</translation>
    </message>
    <message>
        <source>The logger did not tell its Bluetooth address.</source>
        <comment>771</comment>
        <translation>记录器没有报告其蓝牙地址。</translation>
    </message>
    <message>
        <source>Upload Failed! No Device Connected! </source>
        <comment>790</comment>
        <translation>上传失败! 没有连接的设备! </translation>
    </message>
    <message>
        <source>%1% received (%2 KB/s, %3 left)</source>
        <comment>791</comment>
        <translation>已接收 %1%（%2 KB/s，剩余 %3）</translation>
    </message>
    <message>
        <source>%1% received</source>
        <comment>792</comment>
        <translation>已接收 %1%</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2 of its records are valid. Nothing was written.</source>
        <comment>640</comment>
        <translation>文件 %1 不是轨迹记录文件: 只有 %2 的记录有效。没有写入任何文件。</translation>
    </message>
    <message>
        <source>Upload finished, but %1 of the files could not be written.</source>
        <comment>800</comment>
        <translation>上传完成,但有 %1 个文件无法写入。</translation>
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
        <translation>要清除记录器上的所有轨迹数据吗?此操作无法撤销。</translation>
    </message>
    <message>
        <source>[y/N]</source>
        <comment>700</comment>
        <translation>[y/N] (是/否)</translation>
    </message>
    <message>
        <source>There is no terminal to ask on: add --yes to go ahead.</source>
        <comment>701</comment>
        <translation>没有可询问的终端: 加上 --yes 以继续。</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <comment>702</comment>
        <translation>没有做任何更改。</translation>
    </message>
    <message>
        <source>Write the firmware %1 (version %2) into the logger on %3? Do not disconnect the cable until the update has finished.</source>
        <comment>780</comment>
        <translation>要将固件 %1 (版本 %2) 写入 %3 上的记录器吗?更新完成前请勿断开连接线。</translation>
    </message>
    <message>
        <source>Write the firmware %1 into the logger on %2? Do not disconnect the cable until the update has finished.</source>
        <comment>781</comment>
        <translation>要将固件 %1 写入 %2 上的记录器吗?更新完成前请勿断开连接线。</translation>
    </message>
    <message>
        <source>Nothing answered on %1. Try Auto Detect, or choose another port.</source>
        <comment>546</comment>
        <translation>%1 上没有任何响应。请试试自动检测,或选择其他端口。</translation>
    </message>
    <message>
        <source>Nothing answered on %1. "kavro ports" lists the ports and the one Auto Detect picks; name another with --port.</source>
        <comment>547</comment>
        <translation>%1 上没有任何响应。"kavro ports" 会列出端口及自动检测选择的端口;请用 --port 指定其他端口。</translation>
    </message>
    <message>
        <source>Auto Detect found no CP210x USB bridge: check the logger's cable, or choose its port from the list.</source>
        <comment>548</comment>
        <translation>自动检测找不到 CP210x USB 桥接器: 请检查记录器的连接线,或从列表中选择其端口。</translation>
    </message>
    <message>
        <source>No such folder</source>
        <comment>690</comment>
        <translation>没有这个文件夹</translation>
    </message>
    <message>
        <source>No photo matched the track log: the photos were taken from %1 to %2, the track log runs from %3 to %4 (times at UTC%5). Check the time zone the camera clock was set to, or calibrate the camera time.</source>
        <comment>691</comment>
        <translation>没有任何照片对应到轨迹记录: 照片拍摄时间为 %1 至 %2,轨迹记录时间为 %3 至 %4 (时间为 UTC%5)。请检查相机时钟所设的时区,或校正相机时间。</translation>
    </message>
    <message>
        <source>Unknown time zone name &quot;%1&quot;: the zone database of this system has no zone of that name. &quot;kavro zones TEXT&quot; lists the zones whose names contain TEXT.</source>
        <comment>850</comment>
        <translation>未知的时区名称“%1”：本系统的时区数据库没有此名称的时区。“kavro zones TEXT”会列出名称含有 TEXT 的时区。</translation>
    </message>
    <message>
        <source>No time zone name contains &quot;%1&quot;.</source>
        <comment>851</comment>
        <translation>没有时区名称含有“%1”。</translation>
    </message>
    <message>
        <source>%1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>852</comment>
        <translation>有 %1 条记录因 GPS 周数翻转而提早了 1024 或 2048 周，其日期已更正。</translation>
    </message>
    <message>
        <source>Upload Succeed! %1 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.</source>
        <comment>853</comment>
        <translation>上传成功！有 %1 条记录因 GPS 周数翻转而提早了 1024 或 2048 周，其日期已更正。</translation>
    </message>
    <message>
        <source>Correct dates 1024 weeks early (GPS week rollover)</source>
        <comment>854</comment>
        <translation>更正提早 1024 周的日期（GPS 周数翻转）</translation>
    </message>
    <message>
        <source>%1: taken at UTC%2, the time zone stored in the photo (%3).</source>
        <comment>855</comment>
        <translation>%1：拍摄于 UTC%2，即照片中存储的时区（%3）。</translation>
    </message>
    <message>
        <source>%1: its camera time falls in the hour skipped when the clocks went forward; it was moved forward past it, to UTC%2.</source>
        <comment>856</comment>
        <translation>%1：相机时间落在时钟拨快时跳过的那一小时；已往后移过该小时，改为 UTC%2。</translation>
    </message>
    <message>
        <source>%1: its camera time occurs twice as the clocks went back; the first, at UTC%2, was used.</source>
        <comment>857</comment>
        <translation>%1：时钟拨慢时此相机时间出现两次；采用第一次，即 UTC%2。</translation>
    </message>
    <message>
        <source>Use this time zone also for photos that store their own</source>
        <comment>858</comment>
        <translation>照片自带时区时也使用此时区</translation>
    </message>
    <message>
        <source>Offset</source>
        <comment>859</comment>
        <translation>时差</translation>
    </message>
    <message>
        <source>%1 from the photo (%2)</source>
        <comment>860</comment>
        <translation>%1，取自照片（%2）</translation>
    </message>
    <message>
        <source>%1 (chosen zone)</source>
        <comment>861</comment>
        <translation>%1（所选时区）</translation>
    </message>
    <message>
        <source>%1 (chosen zone; skipped hour, moved forward)</source>
        <comment>862</comment>
        <translation>%1（所选时区；跳过的小时，已往后移）</translation>
    </message>
    <message>
        <source>%1 (chosen zone; repeated hour, the earlier offset)</source>
        <comment>863</comment>
        <translation>%1（所选时区；重复的小时，采用较早的时差）</translation>
    </message>
    <message>
        <source>The logger&apos;s memory changed since the last download: reading all of it.</source>
        <comment>900</comment>
        <translation>记录器的存储器自上次下载后已更改: 将读取全部存储器。</translation>
    </message>
    <message>
        <source>The logger&apos;s memory has wrapped around since the last download: reading all of it.</source>
        <comment>901</comment>
        <translation>记录器的存储器自上次下载后已循环覆盖: 将读取全部存储器。</translation>
    </message>
    <message>
        <source>The kept copy of the logger&apos;s memory is damaged: reading all of it.</source>
        <comment>902</comment>
        <translation>保存的记录器存储器副本已损坏: 将读取全部存储器。</translation>
    </message>
    <message>
        <source>Sectors read from the logger: %1, from the kept copy: %2 (%3 bytes requested)</source>
        <comment>903</comment>
        <translation>从记录器读取的扇区: %1,来自保存副本: %2 (请求 %3 字节)</translation>
    </message>
    <message>
        <source>Read only new data</source>
        <comment>904</comment>
        <translation>只读取新数据</translation>
    </message>
    <message>
        <source>Clear after download</source>
        <comment>905</comment>
        <translation>下载后清除</translation>
    </message>
    <message>
        <source>The log was not cleared: the download did not complete.</source>
        <comment>906</comment>
        <translation>记录未清除: 下载未完成。</translation>
    </message>
    <message>
        <source>The log was not cleared: %1 of the files could not be written.</source>
        <comment>907</comment>
        <translation>记录未清除: 有 %1 个文件无法写入。</translation>
    </message>
    <message>
        <source>The photo cannot be read: %1</source>
        <comment>1700</comment>
        <translation>无法读取此照片：%1</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be read: %2</source>
        <comment>1701</comment>
        <translation>无法读取附属文件 %1：%2</translation>
    </message>
    <message>
        <source>the sidecar %1 already holds a position (choose Replace positions to overwrite it)</source>
        <comment>1702</comment>
        <translation>附属文件 %1 已有位置（选择“替换位置”可覆盖）</translation>
    </message>
    <message>
        <source>the sidecar %1 is not XMP; it was left as it is</source>
        <comment>1703</comment>
        <translation>附属文件 %1 不是 XMP，保持原状</translation>
    </message>
    <message>
        <source>the sidecar %1 cannot be written: %2</source>
        <comment>1704</comment>
        <translation>无法写入附属文件 %1：%2</translation>
    </message>
    <message>
        <source>No sidecar for %1: %2</source>
        <comment>1705</comment>
        <translation>%1 没有附属文件：%2</translation>
    </message>
    <message>
        <source>writing positions into photos is off</source>
        <comment>1706</comment>
        <translation>未开启将位置写入照片</translation>
    </message>
    <message>
        <source>no position for this photo</source>
        <comment>1707</comment>
        <translation>此照片没有位置</translation>
    </message>
    <message>
        <source>File</source>
        <comment>1720</comment>
        <translation>文件</translation>
    </message>
    <message>
        <source>Captured</source>
        <comment>1721</comment>
        <translation>拍摄时间</translation>
    </message>
    <message>
        <source>UTC used</source>
        <comment>1722</comment>
        <translation>使用的 UTC</translation>
    </message>
    <message>
        <source>Match</source>
        <comment>1723</comment>
        <translation>匹配</translation>
    </message>
    <message>
        <source>Seconds to nearest point</source>
        <comment>1724</comment>
        <translation>与最近点相差秒数</translation>
    </message>
    <message>
        <source>Latitude</source>
        <comment>1725</comment>
        <translation>纬度</translation>
    </message>
    <message>
        <source>Longitude</source>
        <comment>1726</comment>
        <translation>经度</translation>
    </message>
    <message>
        <source>Altitude</source>
        <comment>1727</comment>
        <translation>高度</translation>
    </message>
    <message>
        <source>Written</source>
        <comment>1728</comment>
        <translation>写入</translation>
    </message>
    <message>
        <source>Reason</source>
        <comment>1729</comment>
        <translation>原因</translation>
    </message>
    <message>
        <source>exact</source>
        <comment>1730</comment>
        <translation>精确</translation>
    </message>
    <message>
        <source>interpolated</source>
        <comment>1731</comment>
        <translation>插值</translation>
    </message>
    <message>
        <source>nearest</source>
        <comment>1732</comment>
        <translation>最近点</translation>
    </message>
    <message>
        <source>too far from the track</source>
        <comment>1733</comment>
        <translation>离轨迹太远</translation>
    </message>
    <message>
        <source>outside the track</source>
        <comment>1734</comment>
        <translation>在轨迹之外</translation>
    </message>
    <message>
        <source>no capture time</source>
        <comment>1735</comment>
        <translation>没有拍摄时间</translation>
    </message>
    <message>
        <source>unreadable</source>
        <comment>1736</comment>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>make refused</source>
        <comment>1737</comment>
        <translation>不支持此相机</translation>
    </message>
    <message>
        <source>nothing</source>
        <comment>1738</comment>
        <translation>无</translation>
    </message>
    <message>
        <source>copy %1</source>
        <comment>1739</comment>
        <translation>副本 %1</translation>
    </message>
    <message>
        <source>sidecar %1</source>
        <comment>1740</comment>
        <translation>附属文件 %1</translation>
    </message>
    <message>
        <source>would write copy %1</source>
        <comment>1741</comment>
        <translation>将写入副本 %1</translation>
    </message>
    <message>
        <source>would write sidecar %1</source>
        <comment>1742</comment>
        <translation>将写入附属文件 %1</translation>
    </message>
    <message>
        <source>%1% of %2 photos</source>
        <comment>1743</comment>
        <translation>%2 张照片已完成 %1%</translation>
    </message>
    <message>
        <source>Sidecars not written: %1</source>
        <comment>1744</comment>
        <translation>未写入的附属文件：%1</translation>
    </message>
    <message>
        <source>Interpolate between the two track points around a photo's time</source>
        <comment>1745</comment>
        <translation>在照片时间前后的两个轨迹点之间插值</translation>
    </message>
    <message>
        <source>Maximum gap between the two points (seconds):</source>
        <comment>1746</comment>
        <translation>两点之间的最大间隔（秒）：</translation>
    </message>
    <message>
        <source>Write XMP sidecars for JPEG photos too, instead of copies</source>
        <comment>1747</comment>
        <translation>JPEG 照片也写入 XMP 附属文件，而非副本</translation>
    </message>
    <message>
        <source>Name sidecars NAME.EXT.xmp (instead of NAME.xmp)</source>
        <comment>1748</comment>
        <translation>附属文件命名为 NAME.EXT.xmp（而非 NAME.xmp）</translation>
    </message>
    <message>
        <source>Replace positions that existing sidecars already hold</source>
        <comment>1749</comment>
        <translation>替换现有附属文件中已有的位置</translation>
    </message>
    <message>
        <source>Preview</source>
        <comment>1750</comment>
        <translation>预览</translation>
    </message>
    <message>
        <source>Preview finished: nothing was written.</source>
        <comment>1751</comment>
        <translation>预览完成：未写入任何文件。</translation>
    </message>
    <message>
        <source>The file %1 is not a track log file: only %2% of its records are valid. It is not shown on the map.</source>
        <comment>1200</comment>
        <translation>文件 %1 不是轨迹记录文件：只有 %2% 的记录有效。不会显示在地图上。</translation>
    </message>
    <message>
        <source>%1 m</source>
        <comment>1201</comment>
        <translation>%1 米</translation>
    </message>
    <message>
        <source>%1 km</source>
        <comment>1202</comment>
        <translation>%1 公里</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <comment>1203</comment>
        <translation>无法编码图片</translation>
    </message>
    <message>
        <source>Nothing to draw: the track log files hold no track points.</source>
        <comment>1204</comment>
        <translation>没有可绘制的内容：轨迹记录文件中没有轨迹点。</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, each from %1 to %2 pixels, e.g. 1200x800.</source>
        <comment>1205</comment>
        <translation>--size 需要 宽x高，各为 %1 到 %2 像素，例如 1200x800。</translation>
    </message>
    <message>
        <source>--tiles and --no-tiles cannot be given together.</source>
        <comment>1206</comment>
        <translation>--tiles 与 --no-tiles 不能同时使用。</translation>
    </message>
    <message>
        <source>Map tiles unavailable: %1</source>
        <comment>1210</comment>
        <translation>无法获取地图瓦片：%1</translation>
    </message>
    <message>
        <source>the server sent something that is not a picture</source>
        <comment>1211</comment>
        <translation>服务器返回的不是图片</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <comment>1212</comment>
        <translation>服务器未及时响应</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <comment>1213</comment>
        <translation>服务器响应 %1 %2</translation>
    </message>
    <message>
        <source>© OpenStreetMap contributors</source>
        <comment>1214</comment>
        <translation>© OpenStreetMap 贡献者</translation>
    </message>
    <message>
        <source>The tile address must start with http:// or https:// and contain {z}, {x} and {y}: %1</source>
        <comment>1215</comment>
        <translation>瓦片地址必须以 http:// 或 https:// 开头，并包含 {z}、{x} 和 {y}：%1</translation>
    </message>
    <message>
        <source>map tiles switched off</source>
        <comment>1216</comment>
        <translation>已关闭地图瓦片</translation>
    </message>
    <message>
        <source>Map</source>
        <comment>1220</comment>
        <translation>地图</translation>
    </message>
    <message>
        <source>Open...</source>
        <comment>1221</comment>
        <translation>打开...</translation>
    </message>
    <message>
        <source>Fit</source>
        <comment>1222</comment>
        <translation>全部显示</translation>
    </message>
    <message>
        <source>Save Picture...</source>
        <comment>1223</comment>
        <translation>保存图片...</translation>
    </message>
    <message>
        <source>Tiles:</source>
        <comment>1224</comment>
        <translation>瓦片：</translation>
    </message>
    <message>
        <source>Height over:</source>
        <comment>1225</comment>
        <translation>高度对应：</translation>
    </message>
    <message>
        <source>Distance</source>
        <comment>1226</comment>
        <translation>距离</translation>
    </message>
    <message>
        <source>Time</source>
        <comment>1227</comment>
        <translation>时间</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <comment>1228</comment>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Height: %1 m</source>
        <comment>1229</comment>
        <translation>高度：%1 米</translation>
    </message>
    <message>
        <source>Lowest: %1 m</source>
        <comment>1230</comment>
        <translation>最低：%1 米</translation>
    </message>
    <message>
        <source>Highest: %1 m</source>
        <comment>1231</comment>
        <translation>最高：%1 米</translation>
    </message>
    <message>
        <source>Climb: %1 m</source>
        <comment>1232</comment>
        <translation>爬升：%1 米</translation>
    </message>
    <message>
        <source>Length: %1 km</source>
        <comment>1233</comment>
        <translation>长度：%1 公里</translation>
    </message>
    <message>
        <source>Match: %1</source>
        <comment>1234</comment>
        <translation>匹配：%1</translation>
    </message>
    <message>
        <source>Open a track log file (*.trl) to see it on the map.</source>
        <comment>1235</comment>
        <translation>打开轨迹记录文件 (*.trl) 以在地图上查看。</translation>
    </message>
    <message>
        <source>Track Log (*.trl)</source>
        <comment>1236</comment>
        <translation>轨迹记录 (*.trl)</translation>
    </message>
    <message>
        <source>Position: %1, %2</source>
        <comment>1237</comment>
        <translation>位置：%1, %2</translation>
    </message>
    <message>
        <source>loading map tiles...</source>
        <comment>1238</comment>
        <translation>正在加载地图瓦片...</translation>
    </message>
    <message>
        <source>%1 of %2 tiles did not arrive within %3 s</source>
        <comment>1239</comment>
        <translation>%2 个瓦片中有 %1 个未在 %3 秒内送达</translation>
    </message>
    <message>
        <source>not located</source>
        <comment>1240</comment>
        <translation>未定位</translation>
    </message>
    <message>
        <source>located on the track</source>
        <comment>1241</comment>
        <translation>已定位于轨迹上</translation>
    </message>
    <message>
        <source>Taken: %1</source>
        <comment>1242</comment>
        <translation>拍摄时间：%1</translation>
    </message>
    <message>
        <source>Photos on the map: %1 of %2</source>
        <comment>1243</comment>
        <translation>地图上的照片：%2 张中的 %1 张</translation>
    </message>
</context>
</TS>
