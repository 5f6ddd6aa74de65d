<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="tr_TR">
<context>
    <name>Text</name>
    <message>
        <source>IP adresi ve alt ağ maskesi</source>
        <translation>IP address and subnet mask</translation>
    </message>
    <message>
        <source>ağ geçidi (modem IP)</source>
        <translation>gateway (modem IP)</translation>
    </message>
    <message>
        <source>DNS sunucuları</source>
        <translation>DNS servers</translation>
    </message>
    <message>
        <source>WINS sunucuları</source>
        <translation>WINS servers</translation>
    </message>
    <message>
        <source>otomatik IP (DHCP)</source>
        <translation>automatic IP (DHCP)</translation>
    </message>
    <message>
        <source>• %1: %2 ayarlanamadı (kod %3: %4)</source>
        <translation>• %1: %2 could not be set (code %3: %4)</translation>
    </message>
    <message>
        <source> — sistemin yanıtı: </source>
        <translation> — the system&apos;s answer: </translation>
    </message>
    <message>
        <source>&quot;%s&quot; profili uygulanmadı.</source>
        <translation>Profile &quot;%s&quot; was not applied.</translation>
    </message>
    <message>
        <source> Ağ ayarlarına dokunulmadı.
</source>
        <translation> The network settings were not touched.
</translation>
    </message>
    <message>
        <source>
Ağ bağdaştırıcısı seçilmedi.</source>
        <translation>
No network adapter was selected.</translation>
    </message>
    <message>
        <source>
Bu bilgisayarda IP etkin ağ bağdaştırıcısı bulunamadı.</source>
        <translation>
No IP-enabled network adapter was found on this computer.</translation>
    </message>
    <message>
        <source>
Bağdaştırıcılar önce otomatik IP&apos;ye (DHCP) geçirilemedi, bu yüzden sabit ayarlar yazılmadı:
</source>
        <translation>
The adapters could not be switched to automatic IP (DHCP) first,
so the static settings were not written:
</translation>
    </message>
    <message>
        <source>
Ağ ayarlarına ulaşılamadı (%1): Hata %2 (%3)</source>
        <translation>
The network settings could not be reached (%1): Error %2 (%3)</translation>
    </message>
    <message>
        <source>
Seçilen ağ bağdaştırıcısı (%1) artık bulunamıyor. Bütün bağdaştırıcılar otomatik IP&apos;de (DHCP) kaldı.</source>
        <translation>
The selected network adapter (%1) can no longer be found.
All adapters stayed on automatic IP (DHCP).</translation>
    </message>
    <message>
        <source>
O değişiklik bitince yeniden deneyin.</source>
        <translation>
Try again when that change has ended.</translation>
    </message>
    <message>
        <source>
%1 adresini ağda başka bir cihaz kullanıyor: adres denendiğinde o cihaz yanıt verdi.
</source>
        <translation>
Another device on the network uses the address %1: it answered when the address was tried.
</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcıları önceki ayarlarına döndürülemedi%1;
şu an otomatik IP&apos;deler (DHCP) ya da adressizler.</source>
        <translation>The change to the network adapters could not be undone%1;
they are now on automatic IP (DHCP) or without an address.</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcıları önceki ayarlarına döndürüldü.</source>
        <translation>The change was undone: the network adapters are on their earlier settings.</translation>
    </message>
    <message>
        <source>
Profile boş bir IP adresi verin ya da bu adresi kullanan cihazı bulun.</source>
        <translation>
Give the profile an unused IP address or find the device that uses this address.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili tam uygulanamadı:
%2
Profil etkin olarak kaydedilmedi.</source>
        <translation>Profile &quot;%1&quot; could not be applied completely:
%2
The profile was not recorded as the active one.</translation>
    </message>
    <message>
        <source> %1 saniye sonra internet bağlantısı denetlenecek.</source>
        <translation> The internet connection will be checked in %1 seconds.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili uygulanamaz; ağ ayarlarına dokunulmadı.
%2
Profili DÜZENLE ile açıp düzeltin ve kaydedin.</source>
        <translation>Profile &quot;%1&quot; cannot be applied; the network settings were not touched.
%2
Open the profile with EDIT, correct it and save it.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili uygulanamaz; ağ ayarlarına dokunulmadı.
Profilin adı kullanılamaz: %2
Ayar dosyasında adı düzeltin ya da profili yeni bir adla KOPYALA ile kaydedip bunu SİL ile silin.</source>
        <translation>Profile &quot;%1&quot; cannot be applied; the network settings were not touched.
The profile&apos;s name cannot be used: %2
Correct the name in the settings file,
or save the profile under a new name with COPY and remove this one with DELETE.</translation>
    </message>
    <message>
        <source>Otomatik IP&apos;ye (DHCP) geçilmedi; ağ ayarlarına dokunulmadı.
%1
O değişiklik bitince yeniden deneyin.</source>
        <translation>Not switched to automatic IP (DHCP); the network settings were not touched.
%1
Try again when that change has ended.</translation>
    </message>
    <message>
        <source>Otomatik IP&apos;ye (DHCP) geçilemedi: ağ ayarlarına ulaşılamadı (%1).
Hata %2 (%3)</source>
        <translation>Could not switch to automatic IP (DHCP): the network settings could not be reached (%1).
Error %2 (%3)</translation>
    </message>
    <message>
        <source>Bazı ağ bağdaştırıcıları otomatik IP&apos;ye (DHCP) geçemedi:
%1</source>
        <translation>Some network adapters could not switch to automatic IP (DHCP):
%1</translation>
    </message>
    <message>
        <source>İnternet bağlantısı yok, ancak &quot;%1&quot; tam geri alınamadı:
şu ağ bağdaştırıcıları otomatik IP&apos;ye (DHCP) geçmedi ve sabit ayarlarında kaldı: %2
%3</source>
        <translation>No internet connection, but &quot;%1&quot; could not be undone completely:
these network adapters did not switch to automatic IP (DHCP) and stayed on their static settings: %2
%3</translation>
    </message>
    <message>
        <source>Değişiklik kalıcı yapılamadı: %1
Sistem ağ ayarlarını en geç %2 saniye içinde değişiklikten önceki haline döndürecek.</source>
        <translation>The change could not be confirmed: %1
The system will undo the change within %2 seconds at the latest.</translation>
    </message>
    <message>
        <source>Tüm Ağ Bağdaştırıcılarında Etkinleştir</source>
        <translation>Enable on All Network Adapters</translation>
    </message>
    <message>
        <source>KAYDET</source>
        <translation>SAVE</translation>
    </message>
    <message>
        <source>KAPAT</source>
        <translation>CLOSE</translation>
    </message>
    <message>
        <source>Seleziona la Sceda di Rete</source>
        <translation>Select the network adapter</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcısı seçilmedi.
Listeden bir bağdaştırıcı seçin ya da tüm bağdaştırıcılar kutusunu işaretleyin.</source>
        <translation>No network adapter was selected.
Select an adapter from the list or tick the all adapters box.</translation>
    </message>
    <message>
        <source>%1 adresini ağda başka bir cihaz kullanıyor: adres denendiğinde yanıt verdi, %2 bu adresi almadı.</source>
        <translation>Another device on the network uses the address %1: it answered when the address was tried;
%2 did not take this address.</translation>
    </message>
    <message>
        <source>Kablosuz bağdaştırıcı %1 için NetworkManager&apos;da kayıtlı bir bağlantı yok; önce bir ağa bağlanın.</source>
        <translation>NetworkManager has no stored connection for the wireless adapter %1; connect to a network first.</translation>
    </message>
    <message>
        <source>%1 ağ bağdaştırıcısında bağlantı yok (kablo takılı değil):
ayarlar saklandı, kablo takılınca uygulanacak.</source>
        <translation>Network adapter %1 has no link (no cable plugged in):
the settings were stored and will be applied when a cable is plugged in.</translation>
    </message>
    <message>
        <source>NetworkManager değişikliği %1 saniye içinde %2 üzerinde uygulamadı.</source>
        <translation>NetworkManager did not apply the change on %2 within %1 seconds.</translation>
    </message>
    <message>
        <source>Sistem D-Bus&apos;ına bağlanılamadı: %1</source>
        <translation>Could not connect to the system D-Bus: %1</translation>
    </message>
    <message>
        <source>NetworkManager çalışmıyor (sistem D-Bus&apos;ında %1 yok).</source>
        <translation>NetworkManager is not running (%1 is not on the system D-Bus).</translation>
    </message>
    <message>
        <source>NetworkManager aygıtları listelenemedi: %1</source>
        <translation>NetworkManager&apos;s devices could not be listed: %1</translation>
    </message>
    <message>
        <source>NetworkManager şu ağ bağdaştırıcılarını geri alamadı: %1</source>
        <translation>NetworkManager could not undo the change on these network adapters: %1</translation>
    </message>
    <message>
        <source>NetworkManager&apos;da %1 profili yok</source>
        <translation>NetworkManager has no profile %1</translation>
    </message>
    <message>
        <source>Başka bir program bu ağ bağdaştırıcısında bir değişikliği deniyor.</source>
        <translation>Another program has a change on trial on this network adapter.</translation>
    </message>
    <message>
        <source>Başka bir program bu ağ bağdaştırıcısında bir değişikliği deniyor (%1 saniye daha).</source>
        <translation>Another program has a change on trial on this network adapter (%1 seconds left).</translation>
    </message>
    <message>
        <source>Bu program başka bir pencerede ya da komutta bir değişikliği deniyor (%1 saniye daha).</source>
        <translation>Another window or command of this program has a change on trial (%1 seconds left).</translation>
    </message>
    <message>
        <source>Önceki çalışmadan kalan deneme geri alınamadı: %1</source>
        <translation>The trial left by an earlier run could not be undone: %1</translation>
    </message>
    <message>
        <source>değişiklik şu ağ bağdaştırıcılarında kalıcı olarak yazılamadı,
bilgisayar yeniden başlayınca kaybolur: %1</source>
        <translation>the change could not be stored for good on these network adapters
and will be lost when the computer restarts: %1</translation>
    </message>
    <message>
        <source>ZELVİ IP (bilgisayarın IP adresi)</source>
        <translation>ZELVİ IP (the computer&apos;s IP address)</translation>
    </message>
    <message>
        <source>MASKE (alt ağ maskesi)</source>
        <translation>MASK (subnet mask)</translation>
    </message>
    <message>
        <source>MODEM IP (ağ geçidi)</source>
        <translation>MODEM IP (gateway)</translation>
    </message>
    <message>
        <source>0.0.0.0 bir bilgisayara verilemez.</source>
        <translation>0.0.0.0 cannot be given to a computer.</translation>
    </message>
    <message>
        <source>255.255.255.255 genel yayın adresidir; bir bilgisayara verilemez.</source>
        <translation>255.255.255.255 is the broadcast address; it cannot be given to a computer.</translation>
    </message>
    <message>
        <source>%1 geri döngü (loopback) adresidir; bir ağ bağdaştırıcısına verilemez.</source>
        <translation>%1 is a loopback address; it cannot be given to a network adapter.</translation>
    </message>
    <message>
        <source>%1 çok noktaya yayın (multicast) adresidir; bir bilgisayara verilemez.</source>
        <translation>%1 is a multicast address; it cannot be given to a computer.</translation>
    </message>
    <message>
        <source>Profilin kayıtlı adresleri eksik: 20 bölüm olmalı, %1 var.</source>
        <translation>The profile&apos;s stored addresses are incomplete: there must be 20 parts, there are %1.</translation>
    </message>
    <message>
        <source>boş bırakılmış.</source>
        <translation>is left empty.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; geçerli bir adres değil; dört bölümün her biri 0 ile 255 arasında bir sayı olmalı.</source>
        <translation>&quot;%1&quot; is not a valid address; each of the four parts must be a number from 0 to 255.</translation>
    </message>
    <message>
        <source>%1 bir alt ağ maskesi olamaz; soldan kesintisiz 1 bitleri olmalı (örneğin 255.255.255.0).</source>
        <translation>%1 cannot be a subnet mask; its 1 bits must be unbroken from the left (for example 255.255.255.0).</translation>
    </message>
    <message>
        <source>0.0.0.0 bir adres değil; boş bırakılmış gibidir.</source>
        <translation>0.0.0.0 is not an address; it is as if left empty.</translation>
    </message>
    <message>
        <source>IP adresi %1, %2 alt ağının ağ adresidir; ağdaki cihazlar bu adrese ulaşamayabilir.</source>
        <translation>IP address %1 is the network address of subnet %2;
devices on the network may not reach this address.</translation>
    </message>
    <message>
        <source>IP adresi %1, %2 alt ağının yayın (broadcast) adresidir; ağdaki cihazlar bu adrese ulaşamayabilir.</source>
        <translation>IP address %1 is the broadcast address of subnet %2;
devices on the network may not reach this address.</translation>
    </message>
    <message>
        <source>Modem IP (%1) bilgisayarın kendi IP adresiyle aynı; internete çıkılamaz.</source>
        <translation>Modem IP (%1) is the same as the computer&apos;s own IP address; the internet cannot be reached.</translation>
    </message>
    <message>
        <source>Modem IP %1, %2 alt ağının dışında; bilgisayar modeme ulaşamayabilir.</source>
        <translation>Modem IP %1 is outside subnet %2; the computer may not reach the modem.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profilinde büyük olasılıkla bir yazım hatası var:</source>
        <translation>Profile &quot;%1&quot; most probably has a typing error:</translation>
    </message>
    <message>
        <source>

Yine de uygulansın mı?</source>
        <translation>

Apply it anyway?</translation>
    </message>
    <message>
        <source>&quot;refuse&quot; bir nesne olmalı, örneğin {&quot;EnableStatic&quot;: 91}.</source>
        <translation>&quot;refuse&quot; must be an object, for example {&quot;EnableStatic&quot;: 91}.</translation>
    </message>
    <message>
        <source>&quot;refuse&quot; içinde bilinmeyen yöntem &quot;%1&quot; (bilinenler: %2).</source>
        <translation>Unknown method &quot;%1&quot; in &quot;refuse&quot; (known ones: %2).</translation>
    </message>
    <message>
        <source>&quot;refuse&quot; içinde %1 için sonuç kodu tam sayı olmalı (tırnak içinde değil), örneğin 91.</source>
        <translation>The result code for %1 in &quot;refuse&quot; must be a whole number (not in quotes), for example 91.</translation>
    </message>
    <message>
        <source>%1. bağdaştırıcı (%2): %3</source>
        <translation>adapter %1 (%2): %3</translation>
    </message>
    <message>
        <source>Benzetim dosyası</source>
        <translation>Simulation file</translation>
    </message>
    <message>
        <source>Benzetim dosyası okunamadı: %1</source>
        <translation>The simulation file could not be read: %1</translation>
    </message>
    <message>
        <source>JSON hatası, %1. bayt: %2</source>
        <translation>JSON error at byte %1: %2</translation>
    </message>
    <message>
        <source>en dıştaki değer bir JSON nesnesi ({ … }) olmalı</source>
        <translation>the outermost value must be a JSON object ({ … })</translation>
    </message>
    <message>
        <source>Benzetim dosyası bozuk: %1 (%2)</source>
        <translation>The simulation file is damaged: %1 (%2)</translation>
    </message>
    <message>
        <source>Benzetim dosyası bozuk: %1
%2</source>
        <translation>The simulation file is damaged: %1
%2</translation>
    </message>
    <message>
        <source>Benzetim dosyası bozuk: %1
&quot;checkpoint&quot; bir nesne olmalı:
{&quot;until&quot;: 1970&apos;ten beri milisaniye, &quot;adapters&quot;: [en az bir bağdaştırıcı]}.</source>
        <translation>The simulation file is damaged: %1
&quot;checkpoint&quot; must be an object:
{&quot;until&quot;: milliseconds since 1970, &quot;adapters&quot;: [at least one adapter]}.</translation>
    </message>
    <message>
        <source>Benzetim dosyası bozuk: %1
checkpoint: %2</source>
        <translation>The simulation file is damaged: %1
checkpoint: %2</translation>
    </message>
    <message>
        <source>Benzetim dosyası yazılamadı: %1</source>
        <translation>The simulation file could not be written: %1</translation>
    </message>
    <message>
        <source>benzetim bilgisayarı</source>
        <translation>simulated computer</translation>
    </message>
    <message>
        <source>Deneme kaydının klasörü kilitlenemedi: %1</source>
        <translation>The trial record&apos;s folder could not be locked: %1</translation>
    </message>
    <message>
        <source>ağ ayarları</source>
        <translation>network settings</translation>
    </message>
    <message>
        <source>Geçersiz sorgu seçeneği: %1</source>
        <translation>Invalid query option: %1</translation>
    </message>
    <message>
        <source>Geçersiz sorgu: %1</source>
        <translation>Invalid query: %1</translation>
    </message>
    <message>
        <source>Bilinmeyen sınıf: %1</source>
        <translation>Unknown class: %1</translation>
    </message>
    <message>
        <source>Desteklenmeyen sorgu koşulu: %1</source>
        <translation>Unsupported query condition: %1</translation>
    </message>
    <message>
        <source>Yalnızca bu bilgisayara bağlanılabilir: %1</source>
        <translation>Only the local computer can be managed: %1</translation>
    </message>
    <message>
        <source>Geçersiz ad alanı: %1</source>
        <translation>Invalid namespace: %1</translation>
    </message>
    <message>
        <source>Geçersiz WMI adı: %1</source>
        <translation>Invalid WMI name: %1</translation>
    </message>
    <message>
        <source>başarılı</source>
        <translation>successful</translation>
    </message>
    <message>
        <source>başarılı, bilgisayar yeniden başlatılmalı</source>
        <translation>successful, the computer must be restarted</translation>
    </message>
    <message>
        <source>bu yöntem bu sistemde desteklenmiyor</source>
        <translation>this method is not supported on this system</translation>
    </message>
    <message>
        <source>bilinmeyen hata</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>geçersiz alt ağ maskesi</source>
        <translation>invalid subnet mask</translation>
    </message>
    <message>
        <source>bilgi işlenirken hata oluştu</source>
        <translation>an error occurred while processing the information</translation>
    </message>
    <message>
        <source>geçersiz giriş değeri</source>
        <translation>invalid input value</translation>
    </message>
    <message>
        <source>beşten fazla ağ geçidi verildi</source>
        <translation>more than five gateways were given</translation>
    </message>
    <message>
        <source>geçersiz IP adresi</source>
        <translation>invalid IP address</translation>
    </message>
    <message>
        <source>geçersiz ağ geçidi (modem) adresi</source>
        <translation>invalid gateway (modem) address</translation>
    </message>
    <message>
        <source>sistem ayarlarına erişilemedi</source>
        <translation>the system settings could not be reached</translation>
    </message>
    <message>
        <source>geçersiz güvenlik değeri</source>
        <translation>invalid security value</translation>
    </message>
    <message>
        <source>TCP/IP yapılandırılamadı</source>
        <translation>TCP/IP could not be configured</translation>
    </message>
    <message>
        <source>DHCP yapılandırılamadı</source>
        <translation>DHCP could not be configured</translation>
    </message>
    <message>
        <source>bu bağdaştırıcıda IP etkin değil</source>
        <translation>IP is not enabled on this adapter</translation>
    </message>
    <message>
        <source>erişim reddedildi, yönetici yetkisi gerekiyor</source>
        <translation>access denied, administrator rights are needed</translation>
    </message>
    <message>
        <source>bellek yetersiz</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>bağdaştırıcı bulunamadı</source>
        <translation>adapter not found</translation>
    </message>
    <message>
        <source>ağ hizmetine bağlanılamadı</source>
        <translation>could not connect to the network service</translation>
    </message>
    <message>
        <source>DNS hizmetine bağlanılamadı</source>
        <translation>could not connect to the DNS service</translation>
    </message>
    <message>
        <source>bu bağdaştırıcıda DHCP etkin değil</source>
        <translation>DHCP is not enabled on this adapter</translation>
    </message>
    <message>
        <source>bilinmeyen sonuç kodu</source>
        <translation>unknown result code</translation>
    </message>
    <message>
        <source>Oturum açılınca başlatma kaldırılamadı: %1</source>
        <translation>Starting at login could not be turned off: %1</translation>
    </message>
    <message>
        <source>--settings: dosya adı boş olamaz.</source>
        <translation>--settings: the file name cannot be empty.</translation>
    </message>
    <message>
        <source>--settings: %1 bir klasör; ayar dosyasının adını verin.</source>
        <translation>--settings: %1 is a folder; give the settings file&apos;s name.</translation>
    </message>
    <message>
        <source>--settings bir dosya adı bekliyor.</source>
        <translation>--settings expects a file name.</translation>
    </message>
    <message>
        <source>--language tr ya da en bekliyor.</source>
        <translation>--language expects tr or en.</translation>
    </message>
    <message>
        <source>--language tr ya da en bekliyor: %1</source>
        <translation>--language expects tr or en: %1</translation>
    </message>
    <message>
        <source>--backend bir ad bekliyor.</source>
        <translation>--backend expects a name.</translation>
    </message>
    <message>
        <source>Yalnızca bir komut verilebilir: %1</source>
        <translation>Only one command can be given: %1</translation>
    </message>
    <message>
        <source>%1 bir profil adı bekliyor.</source>
        <translation>%1 expects a profile name.</translation>
    </message>
    <message>
        <source>--check-after 0 ile 3600 arasında bir saniye bekliyor.</source>
        <translation>--check-after expects a number of seconds from 0 to 3600.</translation>
    </message>
    <message>
        <source>--confirm-within 10 ile 3600 arasında bir saniye bekliyor.</source>
        <translation>--confirm-within expects a number of seconds from 10 to 3600.</translation>
    </message>
    <message>
        <source>Bilinmeyen seçenek: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Bilinmeyen --backend: %1</source>
        <translation>Unknown --backend: %1</translation>
    </message>
    <message>
        <source>--check ile --confirm-within birlikte verilemez: uzaktan yapılan değişikliği --confirm doğrular.</source>
        <translation>--check and --confirm-within cannot be given together:
--confirm confirms a remote change.</translation>
    </message>
    <message>
        <source>--detached-run yalnızca --confirm-within ile kullanılır.</source>
        <translation>--detached-run is used only with --confirm-within.</translation>
    </message>
    <message>
        <source>--check-after yalnızca --check ile kullanılır.</source>
        <translation>--check-after is used only with --check.</translation>
    </message>
    <message>
        <source>--adapter ile --all birlikte verilemez.</source>
        <translation>--adapter and --all cannot be given together.</translation>
    </message>
    <message>
        <source>--json bir komutla birlikte kullanılır.</source>
        <translation>--json is used together with a command.</translation>
    </message>
    <message>
        <source>Beklenmeyen: %1</source>
        <translation>Unexpected: %1</translation>
    </message>
    <message>
        <source>Uyarı: %1 bir seçenek değil; pencere normal açılıyor (gizli başlatmak için: /HIDEONSTARTUP).</source>
        <translation>Warning: %1 is not an option; the window opens normally (to start hidden: /HIDEONSTARTUP).</translation>
    </message>
    <message>
        <source>Çıktı yazılamadı (%1); komut yine de sonuna dek çalıştı, yaptığı değişiklik geri alınmadı.</source>
        <translation>The output could not be written (%1);
the command still ran to its end, and its change was not undone.</translation>
    </message>
    <message>
        <source>ayar dosyasındaki etkin profil silinemedi</source>
        <translation>the active profile could not be removed from the settings file</translation>
    </message>
    <message>
        <source>&quot;%1&quot; etkin profil olarak ayar dosyasına yazılamadı</source>
        <translation>&quot;%1&quot; could not be written to the settings file as the active profile</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcıları değişti, ancak %1: Hata %2 (%3)</source>
        <translation>The network adapters changed, but %1: Error %2 (%3)</translation>
    </message>
    <message>
        <source>SERVİS YOK</source>
        <translation>NO SERVICE</translation>
    </message>
    <message>
        <source>SERVİS HATASI</source>
        <translation>SERVICE FAULT</translation>
    </message>
    <message>
        <source>İNTERNET YOK</source>
        <translation>NO INTERNET</translation>
    </message>
    <message>
        <source>&quot;%1&quot; adında bir profil yok.</source>
        <translation>There is no profile named &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Maske</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>Modem IP</source>
        <translation>Modem IP</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcıları listelenemedi (%1): %2</source>
        <translation>The network adapters could not be listed (%1): %2</translation>
    </message>
    <message>
        <source>Değişiklik kalmadı: %1
Ağ bağdaştırıcıları şimdi %2.</source>
        <translation>The change did not stay: %1
The network adapters are now %2.</translation>
    </message>
    <message>
        <source>değişiklikten önceki ayarlarında</source>
        <translation>on their settings from before the change</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profilinde</source>
        <translation>on profile &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Bütün ağ bağdaştırıcıları (%1) otomatik IP&apos;de (DHCP).</source>
        <translation>All network adapters (%1) are on automatic IP (DHCP).</translation>
    </message>
    <message>
        <source>İnternet bağlantısı yok, ancak &quot;%1&quot; geri alınamadı. </source>
        <translation>No internet connection, but &quot;%1&quot; could not be undone. </translation>
    </message>
    <message>
        <source>İnternet bağlantısı yok: &quot;%1&quot; geri alındı,
bütün ağ bağdaştırıcıları otomatik IP&apos;ye (DHCP) geçirildi.</source>
        <translation>No internet connection: &quot;%1&quot; was undone,
all network adapters were switched to automatic IP (DHCP).</translation>
    </message>
    <message>
        <source>Otomatik IP&apos;ye (DHCP) dönüldü.</source>
        <translation>Back on automatic IP (DHCP).</translation>
    </message>
    <message>
        <source>
Ağ ayarlarına dokunulmadı; yine de uygulamak için --yes ekleyin.</source>
        <translation>
The network settings were not touched; add --yes to apply it anyway.</translation>
    </message>
    <message>
        <source>%1 numaralı ağ bağdaştırıcısı yok (--adapters listesine bakın).</source>
        <translation>There is no network adapter number %1 (see the --adapters list).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili zaten uygulanmış (%2); ağ ayarlarına dokunulmadı.</source>
        <translation>Profile &quot;%1&quot; is already applied (%2); the network settings were not touched.</translation>
    </message>
    <message>
        <source>bütün ağ bağdaştırıcıları</source>
        <translation>all network adapters</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili uygulandı: %2.</source>
        <translation>Profile &quot;%1&quot; applied: %2.</translation>
    </message>
    <message>
        <source>Deneniyor: %1 saniye içinde doğrulanmazsa geri alınır.</source>
        <translation>On trial: undone unless confirmed within %1 seconds.</translation>
    </message>
    <message>
        <source>Profil: %1</source>
        <translation>Profile: %1</translation>
    </message>
    <message>
        <source>yok (otomatik IP, DHCP)</source>
        <translation>none (automatic IP, DHCP)</translation>
    </message>
    <message>
        <source>Değişiklik %1: doğrulanmazsa geri alınır.</source>
        <translation>Change %1: undone unless confirmed.</translation>
    </message>
    <message>
        <source>BİLGİSAYAR IP: %1</source>
        <translation>COMPUTER IP: %1</translation>
    </message>
    <message>
        <source>Ayar dosyası açılamadı: %1</source>
        <translation>The settings file could not be opened: %1</translation>
    </message>
    <message>
        <source>Hata %1 (%2)</source>
        <translation>Error %1 (%2)</translation>
    </message>
    <message>
        <source>Ayar dosyası açılamadı, program kapanacak.
%1</source>
        <translation>The settings file could not be opened; the program will close.
%1</translation>
    </message>
    <message>
        <source>Önce listeden bir profil seçin.</source>
        <translation>First select a profile from the list.</translation>
    </message>
    <message>
        <source>Silmek için önce listeden bir profil seçin.</source>
        <translation>To delete, first select a profile from the list.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili silinemedi.
%2</source>
        <translation>Profile &quot;%1&quot; could not be deleted.
%2</translation>
    </message>
    <message>
        <source>otomatik IP&apos;de (DHCP) ya da değişiklikten önceki ayarlarında</source>
        <translation>on automatic IP (DHCP) or on their settings from before the change</translation>
    </message>
    <message>
        <source>Önce listeden uygulanacak profili seçin.</source>
        <translation>First select the profile to apply from the list.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili uygulandı, ancak ayar dosyasına etkin profil olarak yazılamadı.
%2</source>
        <translation>Profile &quot;%1&quot; was applied, but it could not be written to the settings file as the active profile.
%2</translation>
    </message>
    <message>
        <source>BEKLEYİNİZ</source>
        <translation>PLEASE WAIT</translation>
    </message>
    <message>
        <source>Etkin profil ayar dosyasından silinemedi.
%1</source>
        <translation>The active profile could not be removed from the settings file.
%1</translation>
    </message>
    <message>
        <source>Modem sayfası açılamadı: %1
Varsayılan web tarayıcısı başlatılamadı.</source>
        <translation>The modem page could not be opened: %1
The default web browser could not be started.</translation>
    </message>
    <message>
        <source>Port testi sayfası açılamadı: %1
Varsayılan web tarayıcısı başlatılamadı.</source>
        <translation>The port test page could not be opened: %1
The default web browser could not be started.</translation>
    </message>
    <message>
        <source>%1
%2
BİLGİSAYAR IP: %3
MODEM IP: %4</source>
        <translation>%1
%2
COMPUTER IP: %3
MODEM IP: %4</translation>
    </message>
    <message>
        <source>Otomatik IP (DHCP)</source>
        <translation>Automatic IP (DHCP)</translation>
    </message>
    <message>
        <source>
Değişiklik %1: doğrulanmazsa geri alınır</source>
        <translation>
Change %1: undone unless confirmed</translation>
    </message>
    <message>
        <source>Pencereyi aç</source>
        <translation>Open the window</translation>
    </message>
    <message>
        <source>Uzaktan yapılan &quot;%1&quot; değişikliğini kalıcı yap</source>
        <translation>Confirm the remote change to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Uzaktan yapılan &quot;%1&quot; değişikliğini geri al</source>
        <translation>Undo the remote change to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>OTOMATİK IP UYGULA</source>
        <translation>APPLY AUTOMATIC IP</translation>
    </message>
    <message>
        <source>Oturum açılınca başlat</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>Çıkış</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>ZELVİ IP AYAR EKRANI</source>
        <translation>ZELVİ IP SETTINGS</translation>
    </message>
    <message>
        <source>BİLLGİSAYAR IPLERİ</source>
        <translation>REFRESH IP ADDRESSES</translation>
    </message>
    <message>
        <source>PORT TESTİ</source>
        <translation>PORT TEST</translation>
    </message>
    <message>
        <source>MODEME GİT</source>
        <translation>GO TO MODEM</translation>
    </message>
    <message>
        <source>ZELVİ IP UYGULA</source>
        <translation>APPLY ZELVİ IP</translation>
    </message>
    <message>
        <source>DÜZENLE</source>
        <translation>EDIT</translation>
    </message>
    <message>
        <source>SİL</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source> KOPYALA</source>
        <translation> COPY</translation>
    </message>
    <message>
        <source>EKLE</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>MODEM IP</source>
        <translation>MODEM IP</translation>
    </message>
    <message>
        <source>BİLGİSAYAR IP</source>
        <translation>COMPUTER IP</translation>
    </message>
    <message>
        <source>NUVAR POS ZELVİ IP PROGRAMI</source>
        <translation>NUVAR POS ZELVİ IP PROGRAM</translation>
    </message>
    <message>
        <source>ZELVİ IP SEÇ</source>
        <translation>SELECT ZELVİ IP</translation>
    </message>
    <message>
        <source>NetworkManager&apos;a ulaşılamadı; ağ ayarları değiştirilemeyecek.
%1</source>
        <translation>NetworkManager could not be reached; the network settings cannot be changed.
%1</translation>
    </message>
    <message>
        <source>deneniyor, %1 sn</source>
        <translation>on trial, %1 s</translation>
    </message>
    <message>
        <source>&quot;%s&quot; profili silinecek.
Emin misiniz?</source>
        <translation>Profile &quot;%s&quot; will be deleted.
Are you sure?</translation>
    </message>
    <message>
        <source>Hayır</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Değişikliği yapacak süreç başlatılamadı; ağ ayarlarına dokunulmadı: %1</source>
        <translation>The process that would make the change could not be started;
the network settings were not touched: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili 1 saniye sonra, bu oturumdan bağımsız uygulanacak ve %2 saniye denenecek.</source>
        <translation>Profile &quot;%1&quot; will be applied in 1 second, independently of this session,
and be on trial for %2 seconds.</translation>
    </message>
    <message>
        <source>Kalıcı yapmak için (yeni adresten): %1</source>
        <translation>To confirm it (from the new address): %1</translation>
    </message>
    <message>
        <source>Hemen geri almak için: %1</source>
        <translation>To undo it at once: %1</translation>
    </message>
    <message>
        <source>Doğrulanmazsa ağ ayarları kendiliğinden eski hallerine döner; sonucu --status söyler.</source>
        <translation>Unless confirmed, the change is undone by itself; --status tells the outcome.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili hâlâ uygulanıyor; birkaç saniye sonra yeniden deneyin.</source>
        <translation>Profile &quot;%1&quot; is still being applied; try again in a few seconds.</translation>
    </message>
    <message>
        <source>Uzaktan yapılan &quot;%1&quot; değişikliği doğrulama bekliyor (%2 saniye daha);
ağ ayarlarına dokunulmadı. Önce --confirm ile kalıcı yapın ya da --undo ile geri alın.</source>
        <translation>The remote change to &quot;%1&quot; awaits confirmation (%2 seconds left);
the network settings were not touched.
First confirm it with --confirm or undo it with --undo.</translation>
    </message>
    <message>
        <source>Doğrulanacak, uzaktan yapılmış bir değişiklik yok.</source>
        <translation>There is no remote change to confirm.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili uygulanmamıştı: %2</source>
        <translation>Profile &quot;%1&quot; had not been applied: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili doğrulanmadı: süre dolunca geri alınmıştı. Ağ bağdaştırıcıları önceki ayarlarında.</source>
        <translation>Profile &quot;%1&quot; was not confirmed: it was undone when the time ran out.
The network adapters are on their earlier settings.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili doğrulandı ve kalıcı yapıldı.</source>
        <translation>Profile &quot;%1&quot; was confirmed.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili doğrulanamadı: %2</source>
        <translation>Profile &quot;%1&quot; could not be confirmed: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili kalıcı yapılamadı: %2</source>
        <translation>Profile &quot;%1&quot; could not be confirmed: %2</translation>
    </message>
    <message>
        <source>Geri alınacak, uzaktan yapılmış bir değişiklik yok.</source>
        <translation>There is no remote change to undo.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili zaten geri alınmıştı (süre dolmuştu).</source>
        <translation>Profile &quot;%1&quot; had already been undone (the time had run out).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili geri alınamadı: %2</source>
        <translation>Profile &quot;%1&quot; could not be undone: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili geri alındı; ağ bağdaştırıcıları önceki ayarlarında%2.</source>
        <translation>Profile &quot;%1&quot; was undone; the network adapters are on their earlier settings%2.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; uygulandı, doğrulama bekliyor (%2 sn):
kalıcı yapmak için --confirm, geri almak için --undo.</source>
        <translation>Remote: &quot;%1&quot; applied, awaiting confirmation (%2 s): --confirm or --undo.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; doğrulanmadı, geri alındı.</source>
        <translation>Remote: &quot;%1&quot; not confirmed, undone.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; uygulanmadı: %2</source>
        <translation>Remote: &quot;%1&quot; not applied: %2</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; doğrulandı, kalıcı.</source>
        <translation>Remote: &quot;%1&quot; confirmed.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; geri alındı (--undo).</source>
        <translation>Remote: &quot;%1&quot; undone (--undo).</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; doğrulanmadı, süre dolunca geri alındı.</source>
        <translation>Remote: &quot;%1&quot; not confirmed, undone when the time ran out.</translation>
    </message>
    <message>
        <source>Adres servisi %1 hata koduyla yanıt verdi</source>
        <translation>The address service answered with error code %1</translation>
    </message>
    <message>
        <source>Adres servisi başka bir adrese yönlendiriyor (%1); yönlendirme izlenmedi</source>
        <translation>The address service redirects to another address (%1); the redirect was not followed</translation>
    </message>
    <message>
        <source>%1: internet bağlantısı var, ancak dış adres alınamadı.
%2</source>
        <translation>%1: there is an internet connection, but the external address could not be obtained.
%2</translation>
    </message>
    <message>
        <source>Geri al</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Yapıştır</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Tümünü seç</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>ZELVİ IP</source>
        <translation>ZELVİ IP</translation>
    </message>
    <message>
        <source>MASKE</source>
        <translation>MASK</translation>
    </message>
    <message>
        <source>DNS 1</source>
        <translation>DNS 1</translation>
    </message>
    <message>
        <source>DNS 2</source>
        <translation>DNS 2</translation>
    </message>
    <message>
        <source>%1 satırının %2. kutusunda %3 yazıyor; adresin her bölümü 0 ile 255 arasında olmalı.</source>
        <translation>Box %2 of the %1 row holds %3; each part of an address must be from 0 to 255.</translation>
    </message>
    <message>
        <source>IP AYARLARI</source>
        <translation>IP SETTINGS</translation>
    </message>
    <message>
        <source>MASKE 255.255.255.0 olcak</source>
        <translation>MASK (normally 255.255.255.0)</translation>
    </message>
    <message>
        <source>DNS AYARLARI</source>
        <translation>DNS SETTINGS</translation>
    </message>
    <message>
        <source>AYAR ADI</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>%1, %2. bölüm</source>
        <translation>%1, part %2</translation>
    </message>
    <message>
        <source>Profil kaydedilmedi.
%1
Girdiğiniz bilgiler bu pencerede duruyor.</source>
        <translation>The profile was not saved.
%1
What you entered stays in this window.</translation>
    </message>
    <message>
        <source>Profil kaydedilemedi: bu ad ayar dosyasında saklanamaz.
%1
Lütfen adı değiştirin.</source>
        <translation>The profile could not be saved: this name cannot be stored in the settings file.
%1
Please change the name.</translation>
    </message>
    <message>
        <source>Profil kaydedilemedi.
%1 (Hata %2)
Girdiğiniz bilgiler bu pencerede duruyor.</source>
        <translation>The profile could not be saved.
%1 (Error %2)
What you entered stays in this window.</translation>
    </message>
    <message>
        <source>Sayı çok büyük: %1 [%2] %3</source>
        <translation>Number too large: %1 [%2] %3</translation>
    </message>
    <message>
        <source>Bölüm adı boş olamaz.</source>
        <translation>A section name cannot be empty.</translation>
    </message>
    <message>
        <source>Bölüm adı &quot;]&quot; işareti içeremez.</source>
        <translation>A section name cannot contain &quot;]&quot;.</translation>
    </message>
    <message>
        <source>Bölüm adı satır sonu içeremez.</source>
        <translation>A section name cannot contain a line break.</translation>
    </message>
    <message>
        <source>Bölüm adı NUL karakteri içeremez.</source>
        <translation>A section name cannot contain a NUL character.</translation>
    </message>
    <message>
        <source>Ad boş olamaz.</source>
        <translation>A name cannot be empty.</translation>
    </message>
    <message>
        <source>Ad &quot;=&quot; işareti içeremez.</source>
        <translation>A name cannot contain &quot;=&quot;.</translation>
    </message>
    <message>
        <source>Ad satır sonu içeremez.</source>
        <translation>A name cannot contain a line break.</translation>
    </message>
    <message>
        <source>Ad NUL karakteri içeremez.</source>
        <translation>A name cannot contain a NUL character.</translation>
    </message>
    <message>
        <source>Ad &quot;[&quot; işareti ile başlayamaz.</source>
        <translation>A name cannot begin with &quot;[&quot;.</translation>
    </message>
    <message>
        <source>Ad &quot;;&quot; işareti ile başlayamaz.</source>
        <translation>A name cannot begin with &quot;;&quot;.</translation>
    </message>
    <message>
        <source>Değer satır sonu içeremez.</source>
        <translation>A value cannot contain a line break.</translation>
    </message>
    <message>
        <source>Değer NUL karakteri içeremez.</source>
        <translation>A value cannot contain a NUL character.</translation>
    </message>
    <message>
        <source>Değer dosya sonu işareti (Ctrl+Z, kod 26) içeremez.</source>
        <translation>A value cannot contain the end-of-file mark (Ctrl+Z, code 26).</translation>
    </message>
    <message>
        <source>Klasör bulunamadı: %1</source>
        <translation>Folder not found: %1</translation>
    </message>
    <message>
        <source>Dosyaya erişim izni yok: %1</source>
        <translation>No permission to access the file: %1</translation>
    </message>
    <message>
        <source>Dosya salt okunur bir diskte: %1</source>
        <translation>The file is on a read-only disk: %1</translation>
    </message>
    <message>
        <source>Diskte yer kalmadı: %1</source>
        <translation>No space left on the disk: %1</translation>
    </message>
    <message>
        <source>Bu yol bir klasör, dosya değil: %1</source>
        <translation>This path is a folder, not a file: %1</translation>
    </message>
    <message>
        <source>Dosya erişim hatası: %1 (%2)</source>
        <translation>File access error: %1 (%2)</translation>
    </message>
    <message>
        <source>Klasöre yazma izni yok: %1
Ayar dosyası (%2) orada oluşturulamaz ya da değiştirilemez; klasörün izinlerine bakın.</source>
        <translation>No permission to write in the folder: %1
The settings file (%2) cannot be created or changed there; check the folder&apos;s permissions.</translation>
    </message>
    <message>
        <source>Klasör salt okunur bir diskte: %1</source>
        <translation>The folder is on a read-only disk: %1</translation>
    </message>
    <message>
        <source>Dosya salt okunur: %1</source>
        <translation>The file is read-only: %1</translation>
    </message>
    <message>
        <source>Ayar dosyası Windows-1254 (Türkçe Windows) kodlamasındaydı;
yeni ad bu kodlamada yazılamadığı için dosya UTF-8 olarak kaydedildi.
Dosyayı Windows&apos;ta Not Defteri ile açarken UTF-8 seçin.</source>
        <translation>The settings file was in the Windows-1254 (Turkish Windows) encoding;
as the new name cannot be written in that encoding, the file was saved as UTF-8.
Select UTF-8 when opening the file with Notepad on Windows.</translation>
    </message>
    <message>
        <source>Ayar dosyası</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>Profil listeye eklenemedi: %1</source>
        <translation>The profile could not be added to the list: %1</translation>
    </message>
    <message>
        <source>Ad en çok %1 karakter olabilir (bu ad %2 karakter);
daha uzun bir ad etkin profil olarak geri okunamaz.</source>
        <translation>A name can have at most %1 characters (this name has %2);
a longer name cannot be read back as the active profile.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; adında bir profil zaten var.<byte value="xd"/>
Mevcut profil bu bilgilerle değiştirilsin mi?</source>
        <translation>A profile named &quot;%1&quot; already exists.<byte value="xd"/>
Replace the existing profile with this information?</translation>
    </message>
    <message>
        <source>Ayar dosyası, herkesin yazabildiği %1 klasöründe başka bir kullanıcıya ait
bir bağlantı (symlink): %2
Başka bir kullanıcının dosyalarınızı değiştirmesine yol açabileceği için izlenmedi.</source>
        <translation>The settings file is a link (symlink) owned by another user
in the folder %1, which everybody can write to: %2
It was not followed, as it could let another user change your files.</translation>
    </message>
    <message>
        <source>bir klasör</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>bir FIFO (adlandırılmış boru)</source>
        <translation>a FIFO (named pipe)</translation>
    </message>
    <message>
        <source>bir soket</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>bir aygıt</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>normal bir dosya değil</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>%1 olarak yalnızca normal bir dosya kullanılabilir; %2 %3.</source>
        <translation>Only a regular file can be used as %1; %2 is %3.</translation>
    </message>
    <message>
        <source>%1 çok büyük (%2 MB; en çok %3 MB okunur): %4</source>
        <translation>%1 is too big (%2 MB; at most %3 MB is read): %4</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcısı seçimi</source>
        <translation>Network adapter selection</translation>
    </message>
    <message>
        <source>Ağ bağdaştırıcısı resmi</source>
        <translation>Network adapter picture</translation>
    </message>
    <message>
        <source>Profil</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Adresler</source>
        <translation>Addresses</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; birazdan uygulanacak.</source>
        <translation>Remote: &quot;%1&quot; will be applied in a moment.</translation>
    </message>
    <message>
        <source>Deneme kaydı bir bağlantı (link); güvenlik için okunmadı: %1</source>
        <translation>The trial record is a link; for safety it was not read: %1</translation>
    </message>
    <message>
        <source>Deneme kaydı okunamadı: %1 (%2)</source>
        <translation>The trial record could not be read: %1 (%2)</translation>
    </message>
    <message>
        <source>Deneme kaydı normal bir dosya değil: %1</source>
        <translation>The trial record is not a regular file: %1</translation>
    </message>
    <message>
        <source>Deneme kaydı başka bir kullanıcının dosyası: %1</source>
        <translation>The trial record is another user&apos;s file: %1</translation>
    </message>
    <message>
        <source>Deneme kaydı çok uzun (%1 bayt): %2</source>
        <translation>The trial record is too long (%1 bytes): %2</translation>
    </message>
    <message>
        <source>Deneme kaydı çok uzun: %1</source>
        <translation>The trial record is too long: %1</translation>
    </message>
    <message>
        <source>Deneme kaydı bozuk: %1 (%2). Silinirse, denenen değişiklik olduğu gibi kalır.</source>
        <translation>The trial record is damaged: %1 (%2). If it is deleted, the change on trial stays as it is.</translation>
    </message>
    <message>
        <source>Deneme kaydı silinemedi: %1 (%2)</source>
        <translation>The trial record could not be deleted: %1 (%2)</translation>
    </message>
    <message>
        <source>değişikliği yapacak süreç, değişikliğe başlamadan sona erdi ya da zamanında başlamadı;
ağ ayarlarına dokunulmadı.</source>
        <translation>the process that was to make the change ended before it began, or did not begin in time;
the network settings were not touched.</translation>
    </message>
    <message>
        <source>değişikliği yapan süreç, değişiklik bitmeden sona erdi; yaptığı kısım geri alınır.</source>
        <translation>the process making the change ended before it finished; what it changed is undone.</translation>
    </message>
    <message>
        <source>Sona ermiş bir çalışmanın denediği değişiklik geri alınamadı: %1</source>
        <translation>The change that an ended run had on trial could not be undone: %1</translation>
    </message>
    <message>
        <source>Etkin profil yeniden &quot;%1&quot;.</source>
        <translation>The active profile is &quot;%1&quot; again.</translation>
    </message>
    <message>
        <source>Sona ermiş bir çalışmanın denediği değişiklik kalıcı yapılmadan sona ermişti ve geri alınmıştı.</source>
        <translation>The time of a change that an ended run had on trial ran out before it was confirmed; it was undone.</translation>
    </message>
    <message>
        <source>yerine daha yeni bir istek geldi ya da istek bu arada sonuçlandı.</source>
        <translation>a newer request replaced it, or the request was settled meanwhile.</translation>
    </message>
    <message>
        <source>başka bir çalışmanın değişikliği deneniyor.</source>
        <translation>another run&apos;s change is on trial.</translation>
    </message>
    <message>
        <source>İnternet bağlantısı yok, ancak otomatik IP&apos;ye (DHCP) geçilmedi: %1</source>
        <translation>There is no internet connection, but the adapters were not switched to automatic IP (DHCP): %1</translation>
    </message>
    <message>
        <source>--detached-run bir istek adı bekliyor.</source>
        <translation>--detached-run expects a request name.</translation>
    </message>
    <message>
        <source>Deneme kaydı okunamadı ya da yazılamadı; ağ ayarlarına dokunulmadı.
%1</source>
        <translation>The trial record could not be read or written; the network settings were not touched.
%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili doğrulanmış ve kalıcı yapılmıştı; geri alınamaz.</source>
        <translation>Profile &quot;%1&quot; had been confirmed; it cannot be undone.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili --undo ile geri alınmıştı; doğrulanamaz.</source>
        <translation>Profile &quot;%1&quot; had been undone with --undo; it cannot be confirmed.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili için başka bir --confirm ya da --undo sürüyor; sonucu --status söyler.</source>
        <translation>Another --confirm or --undo is under way for profile &quot;%1&quot;; --status tells its outcome.</translation>
    </message>
    <message>
        <source>Uzaktan istenen &quot;%1&quot; değişikliği şu anda yapılıyor ya da karara bağlanıyor;
ağ ayarlarına dokunulmadı. Sonucu --status söyler.</source>
        <translation>The remote change &quot;%1&quot; is being made or decided right now;
the network settings were not touched. --status tells its outcome.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; şu anda uygulanıyor.</source>
        <translation>Remote: &quot;%1&quot; is being applied now.</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; şu anda kalıcı yapılıyor (--confirm).</source>
        <translation>Remote: &quot;%1&quot; is being confirmed now (--confirm).</translation>
    </message>
    <message>
        <source>Uzaktan: &quot;%1&quot; şu anda geri alınıyor (--undo).</source>
        <translation>Remote: &quot;%1&quot; is being undone now (--undo).</translation>
    </message>
    <message>
        <source>Bu program başka bir pencerede ya da komutta ağ ayarlarını değiştiriyor;
ağ ayarlarına dokunulmadı. Birazdan yeniden deneyin.</source>
        <translation>Another window or command of this program is changing the network settings;
they were not touched. Try again in a moment.</translation>
    </message>
    <message>
        <source>Klasör açılamadı: %1 (%2)</source>
        <translation>The folder could not be opened: %1 (%2)</translation>
    </message>
    <message>
        <source>Klasör kilitlenemedi: %1 (%2)</source>
        <translation>The folder could not be locked: %1 (%2)</translation>
    </message>
    <message>
        <source>Klasör %1 saniyedir başka bir program tarafından kilitli tutuluyor, beklemekten vazgeçildi: %2</source>
        <translation>Another program has held the folder locked for %1 seconds; gave up waiting: %2</translation>
    </message>
    <message>
        <source>--import-profiles bir dosya adı (ya da standart girdi için -) bekliyor.</source>
        <translation>--import-profiles expects a file name (or - for standard input).</translation>
    </message>
    <message>
        <source>%1 bir bağdaştırıcı numarası bekliyor.</source>
        <translation>%1 expects an adapter number.</translation>
    </message>
    <message>
        <source>%1 bir numara bekliyor (--adapters listesindeki köşeli parantez içindeki sayı): %2</source>
        <translation>%1 expects a number (the one in square brackets in the --adapters list): %2</translation>
    </message>
    <message>
        <source>--set-profile AD --from-adapter NUMARA adres almaz.</source>
        <translation>--set-profile NAME --from-adapter NUMBER takes no addresses.</translation>
    </message>
    <message>
        <source>--set-profile AD IP MASKE AĞ-GEÇİDİ DNS1 [DNS2]
ya da --set-profile AD --from-adapter NUMARA bekliyor.</source>
        <translation>--set-profile expects NAME IP MASK GATEWAY DNS1 [DNS2] or NAME --from-adapter NUMBER.</translation>
    </message>
    <message>
        <source>--set-profile en az dört adres bekliyor (IP, maske, ağ geçidi, DNS 1), %1 verildi.</source>
        <translation>--set-profile expects at least four addresses (IP, mask, gateway, DNS 1); %1 were given.</translation>
    </message>
    <message>
        <source>--from-adapter yalnızca --set-profile ile kullanılır.</source>
        <translation>--from-adapter is used only with --set-profile.</translation>
    </message>
    <message>
        <source>--dry-run hiçbir şeyi değiştirmez: --check ve --confirm-within ile birlikte verilemez.</source>
        <translation>--dry-run changes nothing: it cannot be given with --check or --confirm-within.</translation>
    </message>
    <message>
        <source>
Yine de kaydetmek için --yes ekleyin.</source>
        <translation>
To save it all the same, add --yes.</translation>
    </message>
    <message>
        <source>JSON okunamadı: %1</source>
        <translation>The JSON could not be read: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profilinin %2 alanı metin olmalı.</source>
        <translation>The %2 field of profile &quot;%1&quot; must be text.</translation>
    </message>
    <message>
        <source>Dosyada ne bir JSON nesnesi ne de [Profiles] bölümü var.</source>
        <translation>The file holds neither a JSON object nor a [Profiles] section.</translation>
    </message>
    <message>
        <source>Ayar dosyası yazılamadı; profiller kaydedilmedi: %1</source>
        <translation>The settings file could not be written; the profiles were not saved: %1</translation>
    </message>
    <message>
        <source>%1 otomatik IP&apos;de (DHCP): kaydedilecek sabit bir adresi yok.</source>
        <translation>%1 is on automatic IP (DHCP): it has no static address to save.</translation>
    </message>
    <message>
        <source>%1 bağdaştırıcısının adresleri okunamadı.</source>
        <translation>The addresses of adapter %1 could not be read.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili kaydedilmedi; ayar dosyasına dokunulmadı.
%2</source>
        <translation>Profile &quot;%1&quot; was not saved; the settings file was not touched.
%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili kaydedildi.</source>
        <translation>Profile &quot;%1&quot; was saved.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili zaten böyle kayıtlı; ayar dosyasına dokunulmadı.</source>
        <translation>Profile &quot;%1&quot; is already saved with these values; the settings file was not touched.</translation>
    </message>
    <message>
        <source>%1 okunamadı: %2</source>
        <translation>%1 could not be read: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ile aynı ad (büyük/küçük harf ayrılmaz).</source>
        <translation>The same name as &quot;%1&quot; (letter case does not count).</translation>
    </message>
    <message>
        <source>Profillerden hiçbiri kaydedilmedi: %1 profil uygun değil.</source>
        <translation>None of the profiles was saved: %1 profile(s) cannot be saved.</translation>
    </message>
    <message>
        <source>kaydedildi</source>
        <translation>saved</translation>
    </message>
    <message>
        <source>değişmedi</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>Ayar dosyası yazılamadı; profil silinmedi: %1</source>
        <translation>The settings file could not be written; the profile was not deleted: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili silindi.</source>
        <translation>Profile &quot;%1&quot; was deleted.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; adında bir profil yok; bir şey değişmedi.</source>
        <translation>There is no profile named &quot;%1&quot;; nothing changed.</translation>
    </message>
    <message>
        <source>%1/%2, ağ geçidi %3, DNS %4</source>
        <translation>%1/%2, gateway %3, DNS %4</translation>
    </message>
    <message>
        <source>bilinmiyor</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>değişmez</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>Değişecek bir ağ bağdaştırıcısı yok.</source>
        <translation>There is no network adapter to change.</translation>
    </message>
    <message>
        <source>Profilin adı boş olamaz.</source>
        <translation>The profile&apos;s name cannot be blank.</translation>
    </message>
    <message>
        <source>%1 adresi boş; yalnızca DNS 2 boş bırakılabilir.</source>
        <translation>The %1 address is blank; only DNS 2 may be left blank.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; bir IPv4 adresi değil (noktayla ayrılmış dört sayı, her biri 0-255).</source>
        <translation>%1: &quot;%2&quot; is not an IPv4 address (four numbers of 0-255 joined by dots).</translation>
    </message>
    <message>
        <source>--adapter, --all, --check, --check-after, --confirm-within, --dry-run ve --yes
yalnızca --apply ile kullanılır (--dry-run profil yazan komutlarla,
--yes --set-profile ve --import-profiles ile de).</source>
        <translation>--adapter, --all, --check, --check-after, --confirm-within, --dry-run and --yes are used
only with --apply (--dry-run also with the commands that write profiles,
--yes also with --set-profile and --import-profiles).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili değişirdi (--dry-run: hiçbir şey yazılmadı).</source>
        <translation>Profile &quot;%1&quot; would change (--dry-run: nothing was written).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili zaten böyle kayıtlı.</source>
        <translation>Profile &quot;%1&quot; is already saved with these values.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili silinirdi (--dry-run: hiçbir şey yazılmadı).</source>
        <translation>Profile &quot;%1&quot; would be deleted (--dry-run: nothing was written).</translation>
    </message>
    <message>
        <source>%1 bir değer bekliyor.</source>
        <translation>%1 expects a value.</translation>
    </message>
    <message>
        <source>--export-profile AD --format networkd|netplan|nmstate --interface ARABİRİM birlikte verilir.</source>
        <translation>--export-profile NAME --format networkd|netplan|nmstate --interface INTERFACE are given together.</translation>
    </message>
    <message>
        <source>--format networkd, netplan ya da nmstate bekliyor: %1</source>
        <translation>--format expects networkd, netplan or nmstate: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; bir ağ arabirimi adı olamaz (1-15 harf, rakam, &quot;_&quot;, &quot;.&quot; ya da &quot;-&quot;).</source>
        <translation>&quot;%1&quot; cannot be a network interface&apos;s name (1-15 letters, digits, &quot;_&quot;, &quot;.&quot; or &quot;-&quot;).</translation>
    </message>
    <message>
        <source>systemd-networkd&apos;ye ulaşılamadı; ağ ayarları değiştirilemeyecek.
%1</source>
        <translation>systemd-networkd could not be reached; the network settings cannot be changed.
%1</translation>
    </message>
    <message>
        <source>Ağ ayarlarını değiştirmek için NetworkManager&apos;a ya da systemd-networkd&apos;ye ulaşılamadı.
%1

Program, gerçek ağ ayarlarına dokunmayan benzetim bilgisayarıyla açılsın mı?</source>
        <translation>Neither NetworkManager nor systemd-networkd could be reached to change the network settings.
%1

Open the program with the simulated computer, which does not touch the real network settings?</translation>
    </message>
    <message>
        <source>Ağ ayarlarına ulaşılamadı (NetworkManager ya da systemd-networkd); ağ ayarları değiştirilemez.
%1</source>
        <translation>The network settings could not be reached (NetworkManager or systemd-networkd);
they cannot be changed.
%1</translation>
    </message>
    <message>
        <source>Sistem veri yoluna (D-Bus) bağlanılamadı: %1</source>
        <translation>The system bus (D-Bus) could not be reached: %1</translation>
    </message>
    <message>
        <source>systemd-networkd çalışmıyor.</source>
        <translation>systemd-networkd is not running.</translation>
    </message>
    <message>
        <source>systemd-networkd bağlantıları listelemedi: %1</source>
        <translation>systemd-networkd did not list its links: %1</translation>
    </message>
    <message>
        <source>systemd-networkd yeni ayarları yüklemedi: %1</source>
        <translation>systemd-networkd did not load the new settings: %1</translation>
    </message>
    <message>
        <source>%1 bağlantısı %2 adresini %3 ms içinde almadı.</source>
        <translation>Link %1 did not take address %2 within %3 ms.</translation>
    </message>
    <message>
        <source>%1 bu programın dosyası değil; değiştirilmedi.</source>
        <translation>%1 is not this program&apos;s file; it was not changed.</translation>
    </message>
    <message>
        <source>%1 yazılamadı: %2</source>
        <translation>%1 could not be written: %2</translation>
    </message>
    <message>
        <source>%1 bu programın dosyası değil; silinmedi.</source>
        <translation>%1 is not this program&apos;s file; it was not deleted.</translation>
    </message>
    <message>
        <source>%1 silinemedi: %2</source>
        <translation>%1 could not be deleted: %2</translation>
    </message>
    <message>
        <source>Başka bir değişiklik deneniyor (systemd-networkd).</source>
        <translation>Another change is on trial (systemd-networkd).</translation>
    </message>
    <message>
        <source>Denenen değişiklik artık yok.</source>
        <translation>The change on trial is gone.</translation>
    </message>
    <message>
        <source>Denenen değişiklik artık yok: süresi dolmuş.</source>
        <translation>The change on trial is gone: its time ran out.</translation>
    </message>
    <message>
        <source>Pencere açılamadı: bu oturumda ekran yok (DISPLAY ayarlı değil). Komutlar ekransız çalışır: --help.</source>
        <translation>The window could not be opened: this session has no display (DISPLAY is not set).
Commands work without one: --help.</translation>
    </message>
    <message>
        <source>Pencere açılamadı: %1 ekranına bağlanılamadı. Komutlar ekransız çalışır: --help.</source>
        <translation>The window could not be opened: display %1 could not be reached. Commands work without one: --help.</translation>
    </message>
    <message>
        <source>Evet</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Süresi dolan bir değişiklik geri alınamadı (systemd-networkd): %1</source>
        <translation>A change whose time ran out could not be undone (systemd-networkd): %1</translation>
    </message>
    <message>
        <source>Süresi dolan bir değişiklik doğrulanmamıştı; önceki ayarlar geri yüklendi (systemd-networkd).</source>
        <translation>A change whose time ran out had not been confirmed; it was undone (systemd-networkd).</translation>
    </message>
    <message>
        <source> [BENZETİM: ağa dokunmaz]</source>
        <translation> [SIMULATION: network untouched]</translation>
    </message>
    <message>
        <source>Klasör oluşturulamıyor: %1 bir dosya, klasör değil.
Ayar dosyası %2 klasöründe olmalı.</source>
        <translation>The folder cannot be made: %1 is a file, not a folder.
The settings file belongs in the folder %2.</translation>
    </message>
    <message>
        <source>Klasör oluşturulamadı: %1 klasörüne yazma izni yok.
Ayar dosyası %2 klasöründe olmalı.</source>
        <translation>The folder could not be made: no permission to write in the folder %1.
The settings file belongs in the folder %2.</translation>
    </message>
    <message>
        <source>Ayar dosyası okunamadı: %1</source>
        <translation>The settings file could not be read: %1</translation>
    </message>
    <message>
        <source>Ayar dosyası okunamadı; hiçbir şeye dokunulmadı.
%1</source>
        <translation>The settings file could not be read; nothing was touched.
%1</translation>
    </message>
    <message>
        <source>Adres servisi %1 adresine yönlendiriyor, ancak oraya ulaşılamadı (%2)</source>
        <translation>The address service redirects to %1, but it could not be reached there (%2)</translation>
    </message>
    <message>
        <source>yanıt zamanında gelmedi</source>
        <translation>the answer did not come in time</translation>
    </message>
    <message>
        <source>Ağ ayarları değişti, ancak %1</source>
        <translation>The network settings changed, but %1</translation>
    </message>
    <message>
        <source>Deneme kaydı yazılamadı: %1</source>
        <translation>The trial record could not be written: %1</translation>
    </message>
    <message>
        <source>Oturum açılınca başlatma ayarlanamadı: %1</source>
        <translation>Starting at login could not be set up: %1</translation>
    </message>
    <message>
        <source>%1 klasörü yok ve oluşturulamadı: %2</source>
        <translation>The folder %1 does not exist and could not be made: %2</translation>
    </message>
    <message>
        <source>systemd-run deneme bekçisini başlatmadı: %1</source>
        <translation>systemd-run did not start the trial&apos;s keeper: %1</translation>
    </message>
    <message>
        <source>systemd-networkd %1 bağlantısını %2 ms içinde programın dosyasıyla ayarlamadı.</source>
        <translation>systemd-networkd did not configure the link %1 with the program&apos;s file within %2 ms.</translation>
    </message>
    <message>
        <source>okunamıyor (%1)</source>
        <translation>cannot be read (%1)</translation>
    </message>
    <message>
        <source>sıradan bir dosya değil</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>bir deneme kaydı için fazla büyük</source>
        <translation>too large for a trial record</translation>
    </message>
    <message>
        <source>bu programın bir deneme kaydı değil</source>
        <translation>not a trial record of this program</translation>
    </message>
    <message>
        <source>bitişi hiçbir denemenin sürmediği kadar ileride</source>
        <translation>its end lies further ahead than any trial lasts</translation>
    </message>
    <message>
        <source>%1 dosyasına güvenilemiyor: %2.
Ağ ayarlarına dokunulmadı; bağlantıların ayarlarına bakıp dosyayı silin.</source>
        <translation>%1 cannot be trusted: %2.
The network settings were not touched; check the links&apos; settings and delete the file.</translation>
    </message>
    <message>
        <source>%1 bağlantısını programınkinden önce gelen %2 dosyası ayarlıyor;
değişiklik onun arkasında kalacağı için yapılmadı. O dosyayı kaldırın ya da adını değiştirin.</source>
        <translation>The link %1 is configured by %2, which comes before the program&apos;s file;
the change would stay hidden behind it and was not made. Remove that file or rename it.</translation>
    </message>
    <message>
        <source>Şu ağ kartlarını hem NetworkManager hem systemd-networkd yönetiyor: %1.
İkisi aynı kartın ayarlarını yazdığı için hiçbir şey değiştirilmedi; kartı yalnız birine bırakın.</source>
        <translation>Both NetworkManager and systemd-networkd manage these network cards: %1.
Both write the same card&apos;s settings, so nothing was changed; leave each card to one of them.</translation>
    </message>
    <message>
        <source>Denenen değişiklik doğrulanmadan bilgisayar yeniden başladı; yeniden başlama değişikliği geri aldı.</source>
        <translation>The computer restarted before the change on trial was confirmed; the restart undid it.</translation>
    </message>
    <message>
        <source>Süresi dolan bir değişiklik doğrulanmamıştı ve bekçisi yok;
ağ ayarlarını değiştiren bir sonraki komut onu geri alır (systemd-networkd).</source>
        <translation>A change whose time ran out was not confirmed and has no keeper;
the next command that changes the network settings undoes it (systemd-networkd).</translation>
    </message>
    <message>
        <source>Bu kullanıcı ağ ayarlarını değiştiremez: polkit izin vermiyor (%1).
İzin için kullanıcıyı netdev grubuna ekleyin (sudo adduser KULLANICI netdev, sonra oturum açın)
ve kasanın kendi oturumundan çalıştırın; SSH oturumuna ancak bir polkit kuralı izin verir.
Ağ ayarlarına dokunulmadı.</source>
        <translation>This user may not change the network settings: polkit does not allow it (%1).
To allow it, add the user to the netdev group (sudo adduser USER netdev, then log in again)
and run it from a session at the till itself; an SSH session is allowed only by a polkit rule.
The network settings were not touched.</translation>
    </message>
    <message>
        <source>Statik adresleri olan şu ağ bağdaştırıcıları da otomatik IP&apos;ye (DHCP) alındı: %1</source>
        <translation>These network adapters with static addresses were put on automatic IP (DHCP) as well: %1</translation>
    </message>
    <message>
        <source>Değişiklik doğrulanmıştı; kalıcı yapıldı, geri alınmadı.</source>
        <translation>The change had been confirmed; it was made lasting, not undone.</translation>
    </message>
    <message>
        <source>Statik adresleri olan şu ağ bağdaştırıcıları da otomatik IP&apos;ye (DHCP) alınacak: %1</source>
        <translation>These network adapters with static addresses will be put on automatic IP (DHCP) as well: %1</translation>
    </message>
    <message>
        <source>%1 çok büyük (en çok 16 MiB).</source>
        <translation>%1 is too large (at most 16 MiB).</translation>
    </message>
    <message>
        <source>Uzaktan yapılan &quot;%1&quot; değişikliğinin süresi doldu, geri alınıyor;
ağ ayarlarına dokunulmadı. Sonucu --status söyler.</source>
        <translation>The time of the remote change &quot;%1&quot; is up and it is being undone;
the network settings were not touched. --status tells the outcome.</translation>
    </message>
    <message>
        <source>Deneme kaydı okunamadı ya da kilitli; uzaktan yapılmış bir değişiklik bekliyor olabilir;
ağ ayarlarına dokunulmadı: %1</source>
        <translation>The trial record cannot be read or is locked; a remote change may be waiting;
the network settings were not touched: %1</translation>
    </message>
    <message>
        <source>%1
Değişikliğin dosyaları yazılamaz; ağ ayarlarına dokunulmadı.</source>
        <translation>%1
The change&apos;s files cannot be written; the network settings were not touched.</translation>
    </message>
    <message>
        <source>Bütün ağ bağdaştırıcıları zaten otomatik IP&apos;de (DHCP); ağ ayarlarına dokunulmadı.</source>
        <translation>Every network adapter is on automatic IP (DHCP) already; the network settings were not touched.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; profili artık ayar dosyasında yok: başka bir pencere ya da komut silmiş olabilir.
Liste yenilendi; ağ ayarlarına dokunulmadı.</source>
        <translation>The profile &quot;%1&quot; is no longer in the settings file: another window or command may have deleted it.
The list was refreshed; the network settings were not touched.</translation>
    </message>
    <message>
        <source>Ayar dosyasını başka bir pencere ya da komut kullanıyor; kaydetmek için bekleniyor…</source>
        <translation>Another window or command is using the settings file; waiting to save…</translation>
    </message>
    <message>
        <source>--with-profiles bir dosya adı (ya da standart girdi için -) bekliyor.</source>
        <translation>--with-profiles expects a file name (or - for standard input).</translation>
    </message>
    <message>
        <source>--with-profiles yalnızca --apply AD --dry-run ile kullanılır.</source>
        <translation>--with-profiles is used only with --apply NAME --dry-run.</translation>
    </message>
    <message>
        <source>%1 isteğine ait, uzaktan yapılmış bir değişiklik yok.</source>
        <translation>There is no remote change of request %1.</translation>
    </message>
    <message>
        <source>Bekleyen değişiklik başka bir isteğin (&quot;%1&quot;, istek %2); %3 isteği için hiçbir şey yapılmadı.</source>
        <translation>The change waiting is another request&apos;s (&quot;%1&quot;, request %2); nothing was done for request %3.</translation>
    </message>
    <message>
        <source>bu ağ ayarlarında deneme yapılamıyor.</source>
        <translation>these network settings cannot hold a change on trial.</translation>
    </message>
    <message>
        <source> Ağ ayarlarına dokunulmadı.
Uzaktan bir değişiklik, denenmeden yapılmaz: %1</source>
        <translation> The network settings were not touched.
A remote change is not made without a trial: %1</translation>
    </message>
    <message>
        <source>Değişiklik denemeye alınamadı: %1
Değişiklik yine de yapıldı; program ilk %2 saniye içinde kapanırsa kendiliğinden geri alınmaz.</source>
        <translation>The change could not be tried first: %1
The change was made anyway;
if the program closes within the first %2 seconds, the change is not undone by itself.</translation>
    </message>
    <message>
        <source>Deneme artık yok.</source>
        <translation>The trial is gone.</translation>
    </message>
    <message>
        <source>Denemenin süresi dolmuş:
benzetim bilgisayarı ağ ayarlarını değişiklikten önceki haline döndürdü.</source>
        <translation>The trial&apos;s time ran out: the simulated computer undid the change.</translation>
    </message>
    <message>
        <source>Denemenin süresi, değişiklik doğrulanmadan doldu;
ağ ayarları değişiklikten önceki haline döndü.</source>
        <translation>The trial&apos;s time ran out before the change was confirmed; the change was undone.</translation>
    </message>
    <message>
        <source>Sona ermiş bir çalışmanın denediği değişikliğin denemesi NetworkManager&apos;da artık yok
(NetworkManager ya da bilgisayar yeniden başlamış);
önceki ayarları, ağ ayarlarını değiştiren bir sonraki komut geri yükler.</source>
        <translation>The trial of a change that an ended run began is gone from NetworkManager
(NetworkManager or the computer has restarted);
the next command that changes the network settings undoes the change.</translation>
    </message>
    <message>
        <source>Sona ermiş bir çalışmanın denediği değişikliğin denemesi NetworkManager&apos;da artık yok
(NetworkManager ya da bilgisayar yeniden başlamış); önceki ayarlar geri yüklenemedi: %1</source>
        <translation>The trial of a change that an ended run began is gone from NetworkManager
(NetworkManager or the computer has restarted); the change could not be undone: %1</translation>
    </message>
    <message>
        <source>Sona ermiş bir çalışmanın denediği değişikliğin denemesi NetworkManager&apos;da artık yoktu
(NetworkManager ya da bilgisayar yeniden başlamış); önceki ayarlar kayıttan geri yüklendi.</source>
        <translation>The trial of a change that an ended run began was gone from NetworkManager
(NetworkManager or the computer had restarted); the change was undone from the record.</translation>
    </message>
    <message>
        <source>NetworkManager denemeyi başlattı ama listelemiyor.</source>
        <translation>NetworkManager began the trial but does not list it.</translation>
    </message>
    <message>
        <source>Denemenin kaydı yazılamadı: %1</source>
        <translation>The trial&apos;s record could not be written: %1</translation>
    </message>
    <message>
        <source>Denemenin süresi dolmuş: ağ ayarları değişiklikten önceki haline döndürüldü.</source>
        <translation>The trial&apos;s time ran out: the change was undone.</translation>
    </message>
    <message>
        <source>Geri alınacak bir deneme yok.</source>
        <translation>There is no trial to undo.</translation>
    </message>
    <message>
        <source>MODEM IP %1, %2 üzerinde cevap vermedi:
bu ayarlarla ağa çıkılamaz, değişiklik geri alındı.</source>
        <translation>MODEM IP %1 did not answer on %2:
these settings cannot reach the network; the change was undone.</translation>
    </message>
    <message>
        <source>MODEM IP %1, %2 üzerinde cevap vermedi; değişiklik denenmeden yapıldığı için geri alınamadı.</source>
        <translation>MODEM IP %1 did not answer on %2; the change was made without a trial and cannot be undone.</translation>
    </message>
    <message>
        <source>MODEM IP %1 cevap verdi; değişiklik kalıcı.</source>
        <translation>MODEM IP %1 answered; the change stays.</translation>
    </message>
    <message>
        <source>MODEM IP %1 denetlenemedi; değişiklik kalıcı.</source>
        <translation>MODEM IP %1 could not be checked; the change stays.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; adlı ya da numaralı ağ bağdaştırıcısı yok. Bağdaştırıcılar:
%2</source>
        <translation>There is no network adapter named or numbered &quot;%1&quot;. The adapters:
%2</translation>
    </message>
    <message>
        <source>Bu bilgisayarda birden çok ağ bağdaştırıcısı var; profil hangisine uygulanacak?
%1
--adapter NUMARA ya da AD ile birini seçin; hepsine aynı adres için --adapter all.</source>
        <translation>This computer has more than one network adapter; which one takes the profile?
%1
Name one with --adapter NUMBER or NAME; --adapter all gives every one the same address.</translation>
    </message>
    <message>
        <source>--set-link bir ad ve bir adres bekliyor, örneğin:
--set-link ExternalAddressUrl http://sunucu.ornek:8080/ip.php</source>
        <translation>--set-link expects a name and an address, for example:
--set-link ExternalAddressUrl http://server.example:8080/ip.php</translation>
    </message>
    <message>
        <source>Ayar dosyası yazılamadı; %1 kaydedilmedi: %2</source>
        <translation>The settings file could not be written; %1 was not saved: %2</translation>
    </message>
    <message>
        <source>(programın kendi değeri)</source>
        <translation>(the program&apos;s own value)</translation>
    </message>
    <message>
        <source>[Links] %1 zaten böyle: %2</source>
        <translation>[Links] %1 is already so: %2</translation>
    </message>
    <message>
        <source>[Links] %1 değişirdi: %2 (--dry-run: hiçbir şey yazılmadı).</source>
        <translation>[Links] %1 would change: %2 (--dry-run: nothing was written).</translation>
    </message>
    <message>
        <source>[Links] %1 kaydedildi: %2</source>
        <translation>[Links] %1 saved: %2</translation>
    </message>
    <message>
        <source>--set-link: &quot;%1&quot; bilinmeyen bir ad; şunlardan biri olmalı: %2</source>
        <translation>--set-link: &quot;%1&quot; is an unknown name; it must be one of: %2</translation>
    </message>
    <message>
        <source>--set-link %1: &quot;%2&quot; bir web adresi değil (http://SUNUCU/YOL ya da https://…).</source>
        <translation>--set-link %1: &quot;%2&quot; is not a web address (http://SERVER/PATH or https://…).</translation>
    </message>
    <message>
        <source>--set-link %1: adreste servisin yolu yok (örneğin http://%2/ip.php).</source>
        <translation>--set-link %1: the address has no path to the service (for example http://%2/ip.php).</translation>
    </message>
    <message>
        <source>Hemen geri alınamadı (%1); denemenin süresi dolunca geri alınır.</source>
        <translation>It could not be undone at once (%1); it is undone when the trial ends.</translation>
    </message>
    <message>
        <source>Bu bilgisayarın ortak profil listesini (%1)
yalnızca %2 grubundakiler değiştirebilir; %3 bu grupta değil: okuyabilir ama kaydedemez.
Yetki vermek için: sudo adduser %3 %2 (sonra oturumu kapatıp yeniden açın).</source>
        <translation>This computer&apos;s shared profile list (%1)
may be changed only by members of the %2 group; %3 is not one: it may read, not save.
To let them in: sudo adduser %3 %2 (then log out and in again).</translation>
    </message>
    <message>
        <source>Önceki sürümün profilleri (%1) okunamadı: %2</source>
        <translation>The earlier version&apos;s profiles (%1) could not be read: %2</translation>
    </message>
    <message>
        <source>Önceki sürümün profilleri (%1) ortak listeye alınamadı, hiçbiri:
%2</source>
        <translation>The earlier version&apos;s profiles (%1) could not join the shared list, none of them:
%2</translation>
    </message>
    <message>
        <source>Önceki sürümün profilleri ortak listeye alındı: %1 yeni, %2 aynı adla zaten vardı (eski dosya: %3).</source>
        <translation>Earlier profiles joined the shared list: %1 new, %2 there already by name (old file: %3).</translation>
    </message>
    <message>
        <source>Kullanım: %1 [SEÇENEKLER] [/HIDEONSTARTUP]
          %1 [SEÇENEKLER] KOMUT [--json]

Komutlar (pencere ve ekran olmadan çalışır, örneğin SSH üzerinden):
  --list             profiller, pencerede olduğu gibi sıralı; etkin olan * ile
  --show AD          profilin adresi, maskesi, ağ geçidi ve DNS sunucuları
  --adapters         ağ bağdaştırıcıları, köşeli parantez içinde numaralarıyla
  --apply AD [--adapter NUMARA|ARABİRİM|all] [--yes] [--check
             [--check-after SANİYE]]
                     profili &quot;ZELVİ IP UYGULA&quot; gibi uygular; birden çok
                     bağdaştırıcı varsa --adapter hangisi olduğunu söyler;
                     --yes şüpheli ama mümkün bir profili sormadan uygular;
                     --check 10 saniye (--check-after SANİYE: 0-3600) sonra
                     interneti denetler ve yoksa otomatik IP&apos;ye (DHCP) geri
                     döner (adres servisi yoksa MODEM IP cevap vermezse
                     değişiklik geri alınır); o zamana dek değişiklik
                     denenir: program kapanırsa ağ ayarları kendiliğinden
                     eski hallerine döner
  --apply AD --confirm-within SANİYE [--adapter NUMARA|ARABİRİM|all] [--yes]
                     uzaktan (SSH) değiştirmek için: hemen döner, profili 1
                     saniye sonra oturumdan bağımsız uygular; değişiklik
                     SANİYE (10-3600) boyunca denenir ve --confirm ile
                     (yeni adresten) kalıcı olur, --undo ile ya da süre
                     dolunca geri alınır
  --confirm [İSTEK]  uzaktan yapılan değişikliği kalıcı yapar (İSTEK: yalnızca
                     --apply yanıtının &quot;request&quot;i olan değişikliği)
  --undo [İSTEK]     uzaktan yapılan değişikliği hemen geri alır
  --dhcp [--dry-run] bütün bağdaştırıcıları otomatik IP&apos;ye (DHCP) geçirir
  --status           etkin profil, bilgisayarın ve dış (MODEM) IP adresi,
                     denenen bir değişikliğin kalan saniyeleri, uzaktan
                     yapılan değişikliğin durumu
  --apply AD --dry-run [--adapter NUMARA|ARABİRİM|all]
                     neyin değişeceğini söyler (her bağdaştırıcı için önce ve
                     sonra); hiçbir şeye dokunmaz; --with-profiles DOSYA:
                     profil, DOSYA&apos;nın içe aktarımı sonrasındaki haliyle
  --set-profile AD IP MASKE AĞ-GEÇİDİ DNS1 [DNS2] [--yes]
                     profili kaydeder: düzenleyicinin kurallarıyla denetler,
                     aynı adlı profili (büyük/küçük harf ayırmadan) yerinde
                     değiştirir ya da ekler; dosyanın kodlaması, satır sonları
                     ve öbür satırları olduğu gibi kalır; --yes şüpheli bir
                     profili de kaydeder
  --set-profile AD --from-adapter NUMARA
                     bağdaştırıcının şu anki adreslerini profil olarak kaydeder
  --import-profiles DOSYA [--yes]
                     birçok profili birlikte kaydeder (DOSYA: [Profiles]
                     bölümlü bir INI parçası ya da {&quot;AD&quot;: {&quot;address&quot;: ...,
                     &quot;mask&quot;, &quot;gateway&quot;, &quot;dns1&quot;, &quot;dns2&quot;}} JSON&apos;u; - standart
                     girdi); biri bile uygun değilse hiçbiri yazılmaz
  --delete-profile AD profili siler (yoksa bir şey değişmez)
                     profil yazan komutlar --dry-run ile neyin değişeceğini
                     söyler, hiçbir şey yazmaz
  --set-link AD ADRES [--dry-run]
                     [Links] değerini yazar (ExternalAddressUrl, RouterUrl,
                     PortTestUrl); boş ADRES programın kendi değerine döner
  --export-profile AD --format networkd|netplan|nmstate --interface ARABİRİM
                     profili başka bir aracın dosyası olarak yazar: bir
                     systemd-networkd .network dosyası, netplan ya da nmstate
                     YAML&apos;ı
  --json             çıktı metin yerine tek bir JSON nesnesi (&quot;changed&quot; bir
                     şeyin değişip değişmediğini, &quot;code&quot; sonucu söyler)
Çıkış durumu: 0 tamam; 1 programın kuralları ya da bir bağdaştırıcı reddetti,
ya da etkin profil veya çıktı yazılamadı (neden ve numara stderr&apos;de);
2 yanlış kullanım; 3 değişiklik kalmadı: --check otomatik IP&apos;ye (DHCP) döndü
ya da değişiklik doğrulanmadan geri alındı.

Seçenekler:
  /HIDEONSTARTUP     pencereyi açmadan, bildirim alanında başlar
  --settings DOSYA   ayar dosyası yerine tam olarak DOSYA kullanılır (yoksa boş
                     olarak oluşturulur)
  --backend networkmanager
                     ağ ayarlarını NetworkManager ile değiştirir (varsayılan:
                     çalışıyorsa NetworkManager, yoksa systemd-networkd)
  --backend networkd ağ ayarlarını systemd-networkd ile değiştirir
  --backend simulated[=DOSYA]
                     gerçek ağa dokunmadan, DOSYA&apos;daki benzetim
                     bağdaştırıcılarıyla çalışır (varsayılan: ayar dosyasının
                     yanında simulated-computer.json)
  --language tr|en   metinlerin dili: Türkçe ya da İngilizce (varsayılan:
                     masaüstünün dili; Türkçe ya da ayarsızsa Türkçe)
  --report-shown     pencere ilk göründüğünde bunu yazar ve kapanır (ölçüm için)
  --help             bu yardımı gösterir

Ayar dosyası (--settings verilmezse): %2
Kurulu program bilgisayarın bütün kullanıcılarıyla ortak tek bir dosya kullanır
(netdev grubundakiler yazabilir); kullanıcının kendi klasöründeki taşınabilir
bir kopya dosyasını programın yanında tutar.

Dış adres (MODEM IP) ve internet denetimi için adres servisi ayar dosyasında
verilir; verilmezse satır &quot;SERVİS YOK&quot; der ve bir değişiklik yalnızca MODEM
IP&apos;nin cevabıyla denetlenir:
  [Links]
  ExternalAddressUrl=http://sunucu.ornek:8080/ip.php
(--set-link ExternalAddressUrl http://sunucu.ornek:8080/ip.php yazar).
Yanıt için toplam süre 10 saniyedir; yönlendirme yalnızca aynı adrese (şema,
sunucu, port) ve aynı sunucunun https adresine izlenir; başka bir yere
yönlendiren servis &quot;SERVİS HATASI&quot; gösterir.
</source>
        <translation>Usage: %1 [OPTIONS] [/HIDEONSTARTUP]
       %1 [OPTIONS] COMMAND [--json]

Commands (they run without a window or a display, for example over SSH):
  --list             the profiles, ordered as in the window; the active one: *
  --show NAME        the profile&apos;s address, mask, gateway and DNS servers
  --adapters         the network adapters, with their numbers in brackets
  --apply NAME [--adapter NUMBER|IF|all] [--yes]
               [--check [--check-after SECONDS]]
                     applies the profile as &quot;APPLY ZELVİ IP&quot; does; with more
                     than one adapter --adapter names the one; --yes applies
                     a doubtful but possible profile without asking; --check
                     checks the internet after 10 seconds (--check-after
                     SECONDS: 0-3600) and switches to automatic IP (DHCP) if
                     there is none (without an address service, the change
                     is undone if the MODEM IP does not answer); until then
                     the change is on trial: if the program ends, the change
                     is undone by itself
  --apply NAME --confirm-within SECONDS [--adapter NUMBER|IF|all] [--yes]
                     to change remotely (SSH): returns at once and applies the
                     profile 1 second later, independently of the session; the
                     change is on trial for SECONDS (10-3600), is confirmed
                     with --confirm (from the new address), and is undone with
                     --undo or when the time runs out
  --confirm [REQUEST] confirms a remote change (REQUEST: only the change whose
                     &quot;request&quot; the --apply answered)
  --undo [REQUEST]   undoes a remote change at once
  --dhcp [--dry-run] switches every adapter to automatic IP (DHCP)
  --status           the active profile, the computer&apos;s and the external
                     (MODEM) IP address, the seconds left of a change on
                     trial, the state of a remote change
  --apply NAME --dry-run [--adapter NUMBER|IF|all]
                     says what would change (for each adapter, before and
                     after); touches nothing; --with-profiles FILE: the profile
                     as it will be once FILE is imported
  --set-profile NAME IP MASK GATEWAY DNS1 [DNS2] [--yes]
                     saves the profile: checks it by the editor&apos;s rules,
                     replaces the profile of the same name (whatever the letter
                     case) in place or adds it; the file&apos;s encoding, line ends
                     and other lines stay as they are; --yes saves a doubtful
                     profile too
  --set-profile NAME --from-adapter NUMBER
                     saves the adapter&apos;s present addresses as the profile
  --import-profiles FILE [--yes]
                     saves many profiles at once (FILE: an INI fragment with a
                     [Profiles] section or the JSON {&quot;NAME&quot;: {&quot;address&quot;: ...,
                     &quot;mask&quot;, &quot;gateway&quot;, &quot;dns1&quot;, &quot;dns2&quot;}}; - standard input);
                     if even one is not valid, none is written
  --delete-profile NAME
                     deletes the profile (nothing changes if there is none)
                     the commands that write profiles take --dry-run too: they
                     say what would change and write nothing
  --set-link NAME ADDRESS [--dry-run]
                     writes a [Links] value (ExternalAddressUrl, RouterUrl,
                     PortTestUrl); an empty ADDRESS returns to the program&apos;s
                     own value
  --export-profile NAME --format networkd|netplan|nmstate --interface IF
                     writes the profile as another tool&apos;s file: a
                     systemd-networkd .network file, a netplan or an nmstate
                     YAML
  --json             one JSON object as output instead of text (&quot;changed&quot; says
                     whether anything changed, &quot;code&quot; the outcome)
Exit status: 0 done; 1 the program&apos;s rules or an adapter refused, or the
active profile or the output could not be written (reason and number on
stderr); 2 wrong usage; 3 the change did not stay: --check switched to
automatic IP (DHCP) or the change was undone before it was confirmed.

Options:
  /HIDEONSTARTUP     starts in the notification area, without opening the
                     window
  --settings FILE    uses exactly FILE instead of the settings file (made
                     empty if it does not exist)
  --backend networkmanager
                     changes the network settings with NetworkManager
                     (default: NetworkManager where it runs, else
                     systemd-networkd)
  --backend networkd changes the network settings with systemd-networkd
  --backend simulated[=FILE]
                     works with the simulated adapters in FILE, without
                     touching the real network (default:
                     simulated-computer.json beside the settings file)
  --language tr|en   the language of the texts: Turkish or English (default:
                     the desktop&apos;s language; Turkish where it is Turkish or
                     not set)
  --report-shown     prints this when the window is first shown, then ends
                     (for measuring)
  --help             shows this help

Settings file (without --settings): %2
The installed program uses one file shared by every user of the computer
(the netdev group may write it); a portable copy in the user&apos;s own folder
keeps its file beside the program.

The address service for the external address (MODEM IP) and the internet
check is named in the settings file; without it the line says &quot;NO SERVICE&quot;
and a change is checked only by the MODEM IP&apos;s answer:
  [Links]
  ExternalAddressUrl=http://server.example:8080/ip.php
(--set-link ExternalAddressUrl http://server.example:8080/ip.php writes it).
The answer has 10 seconds in all; a redirect is followed only to the same
address (scheme, server, port) and to the same server&apos;s https address; a
service that redirects anywhere else shows &quot;SERVICE FAULT&quot;.
</translation>
    </message>
    <message>
        <source>Dış adres servisi ayarlanmamış:
internet bağlantısı denetlenmiyor; bir profil, MODEM IP&apos;si cevap vermezse geri alınır.
Servisin adresini komutla yazın, örneğin:
nuvar-pos-zelvi-ip --set-link ExternalAddressUrl http://sunucu.ornek:8080/ip.php</source>
        <translation>The external address service is not set up: the internet connection is not checked;
a profile is undone when its MODEM IP does not answer.
Write the service&apos;s address with the command, for example:
nuvar-pos-zelvi-ip --set-link ExternalAddressUrl http://server.example:8080/ip.php</translation>
    </message>
</context>
</TS>
