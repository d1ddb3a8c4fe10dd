<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="it">
<context>
    <name>CommandLine</name>
    <message>
        <source>Usare --help per l&apos;elenco delle opzioni.</source>
        <translation>Use --help for the list of options.</translation>
    </message>
    <message>
        <source>Mostra dal vivo i tasti e le levette di un controller di gioco e avvia i comandi configurati.

La mappa dei tasti/assi, Corvane.ini, è cercata in quest&apos;ordine e vale la prima trovata:
  accanto al programma;
  in $XDG_CONFIG_HOME/corvane/ (se la variabile non è impostata: ~/.config/corvane/);
  in corvane/ dentro ogni cartella di $XDG_CONFIG_DIRS (se non è impostata: /etc/xdg/corvane/).
Se non ne esiste nessuna, &quot;Come assegnare i tasti&quot; crea ~/.config/corvane/Corvane.ini
dall&apos;esempio commentato e lo apre nell&apos;editor di testo.</source>
        <translation>Shows live the buttons and sticks of a game controller and starts the configured commands.

The button/axis map, Corvane.ini, is looked for in this order, and the first found counts:
  beside the program;
  in $XDG_CONFIG_HOME/corvane/ (when the variable is not set: ~/.config/corvane/);
  in corvane/ inside each folder of $XDG_CONFIG_DIRS (when it is not set: /etc/xdg/corvane/).
When there is none, &quot;How to assign the buttons&quot; creates ~/.config/corvane/Corvane.ini
from the commented example and opens it in the text editor.</translation>
    </message>
    <message>
        <source>Mostra questo aiuto ed esce.</source>
        <translation>Shows this help and exits.</translation>
    </message>
    <message>
        <source>Mostra il nome e la versione del programma ed esce.</source>
        <translation>Shows the program&apos;s name and version and exits.</translation>
    </message>
    <message>
        <source>Legge la mappa dei tasti/assi da &lt;file&gt; invece di cercare Corvane.ini.</source>
        <translation>Reads the button/axis map from &lt;file&gt; instead of looking for Corvane.ini.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>Mostra nel menu File la voce &quot;Emulazione Corvane&quot;, che apre il pannello per provare i comandi con il mouse.</source>
        <translation>Shows the entry &quot;Corvane emulation&quot; in the File menu, which opens the panel to try the controls with the mouse.</translation>
    </message>
    <message>
        <source>argomento inatteso: &quot;%1&quot;.</source>
        <translation>unexpected argument: &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>--map vuole il percorso di un file di mappa.</source>
        <translation>--map needs the path of a map file.</translation>
    </message>
    <message>
        <source>la mappa &quot;%1&quot; non esiste o non è un file leggibile.</source>
        <translation>the map &quot;%1&quot; does not exist or is not a readable file.</translation>
    </message>
    <message>
        <source>corvane: nessun Corvane Demo in esecuzione.
</source>
        <translation>corvane: no Corvane Demo is running.
</translation>
    </message>
    <message>
        <source>Avvia senza finestra e legge subito il controller (o attende che ne sia collegato uno); icona nell&apos;area di notifica.</source>
        <translation>Starts without a window and reads the controller at once (or waits until one is plugged in); icon in the notification area.</translation>
    </message>
    <message>
        <source>Avvia la lettura, nel programma già in esecuzione se c&apos;è.</source>
        <translation>Starts reading, in the program already running if there is one.</translation>
    </message>
    <message>
        <source>Ferma la lettura del programma in esecuzione.</source>
        <translation>Stops the running program&apos;s reading.</translation>
    </message>
    <message>
        <source>Chiude il programma in esecuzione.</source>
        <translation>Ends the running program.</translation>
    </message>
    <message>
        <source>corvane: il programma in esecuzione ha rifiutato la richiesta.
</source>
        <translation>corvane: the running program refused the request.
</translation>
    </message>
    <message>
        <source>Un solo programma per sessione: lanciato di nuovo, passa tutte le opzioni a quello già in
esecuzione ed esce: --map vi carica la mappa, --emulation vi mostra la voce del menu, --start e
--stop vi avviano o fermano la lettura, --background vi avvia la lettura lasciando la finestra
com&apos;è, --quit lo chiude; senza opzioni ne mostra la finestra.</source>
        <translation>One program per session: launched again, it hands every option to the one already
running and exits: --map loads the map there, --emulation shows the menu entry there, --start and
--stop start or stop reading there, --background starts reading there leaving the window as it is,
--quit ends it; with no option it shows its window.</translation>
    </message>
    <message>
        <source>--start, --stop e --quit si escludono a vicenda, --background va solo con --start e --quit va da solo.</source>
        <translation>--start, --stop and --quit exclude each other, --background goes only with --start and --quit goes alone.</translation>
    </message>
    <message>
        <source>il percorso della mappa &quot;%1&quot; contiene caratteri di controllo o supera %2 byte.</source>
        <translation>the map path &quot;%1&quot; holds control characters or exceeds %2 bytes.</translation>
    </message>
    <message>
        <source>corvane: il Corvane Demo di questa sessione non risponde; la richiesta non è stata eseguita, riprovare tra poco.
</source>
        <translation>corvane: the Corvane Demo of this session does not answer; the request was not done, try again shortly.
</translation>
    </message>
    <message>
        <source>corvane: nessun profilo &quot;%1&quot;.
</source>
        <translation>corvane: no profile &quot;%1&quot;.
</translation>
    </message>
    <message>
        <source>Usa il profilo &lt;nome&gt; e lo ricorda per i prossimi avvii.</source>
        <translation>Uses the profile &lt;name&gt; and remembers it for later starts.</translation>
    </message>
    <message>
        <source>nome</source>
        <translation>name</translation>
    </message>
    <message>
        <source>Elenca i profili, con * quello scelto, ed esce.</source>
        <translation>Lists the profiles, with * before the chosen one, and exits.</translation>
    </message>
    <message>
        <source>--map e --profile si escludono a vicenda.</source>
        <translation>--map and --profile exclude each other.</translation>
    </message>
    <message>
        <source>corvane: nessun display trovato: il programma mostra le sue finestre su X11 o Wayland (DISPLAY, WAYLAND_DISPLAY).
</source>
        <translation>corvane: no display found: the program shows its windows on X11 or Wayland (DISPLAY, WAYLAND_DISPLAY).
</translation>
    </message>
    <message>
        <source>Tastiera e mouse: la sezione [Uscita] della mappa fa premere al corvane tasti, tasti del mouse e
rotella (0=SPACE, 8=VOLUMEDOWN ripeti 10) e muovere il puntatore con una levetta
(LevaSinistra=puntatore, LevaDestra=rotella, Croce=frecce), attraverso il dispositivo
&quot;Corvane Demo&quot; di /dev/uinput (su X11, se chiuso, attraverso XTest). Mentre una finestra del
programma è in primo piano non preme nulla.</source>
        <translation>Keyboard and mouse: the map&apos;s [Uscita] section makes the Corvane press keys, mouse buttons and
the wheel (0=SPACE, 8=VOLUMEDOWN ripeti 10) and move the pointer with a stick
(LevaSinistra=puntatore, LevaDestra=rotella, Croce=frecce), through the device
&quot;Corvane Demo&quot; of /dev/uinput (on X11, where that is closed, through XTest). While a window of
the program is in front it presses nothing.</translation>
    </message>
    <message>
        <source>corvane: il bus di sessione non risponde: il programma va avanti senza (niente notifiche sul desktop).
</source>
        <translation>corvane: the session bus does not answer: the program goes on without it (no desktop notices).
</translation>
    </message>
    <message>
        <source>corvane: nessun corvane numero %1.
</source>
        <translation>corvane: no Corvane number %1.
</translation>
    </message>
    <message>
        <source>corvane: il profilo %1 del corvane %2 non si può ricordare.
</source>
        <translation>corvane: the profile %1 of Corvane %2 cannot be remembered.
</translation>
    </message>
    <message>
        <source>Profili: mappe in $XDG_CONFIG_HOME/corvane/profili/NOME.ini; la mappa trovata come sopra è il
profilo &quot;Predefinito&quot;. --profile NOME usa quel profilo (nel programma già in esecuzione, se
c&apos;è) e lo ricorda; --profiles li elenca, con * quello scelto. Ogni corvane collegato ha il suo
profilo: --profile vale per quello mostrato, o con --pad N per l&apos;N-esimo di &quot;Scegli il Corvane&quot;.</source>
        <translation>Profiles: maps in $XDG_CONFIG_HOME/corvane/profili/NAME.ini; the map found as above is the
profile &quot;Default&quot;. --profile NAME uses that profile (in the program already running, if there
is one) and remembers it; --profiles lists them, with * before the chosen one. Each Corvane attached has its
own profile: --profile is for the one shown, or with --pad N for the Nth of &quot;Choose the Corvane&quot;.</translation>
    </message>
    <message>
        <source>Con --profile: il profilo vale per il corvane numero &lt;n&gt; di &quot;Scegli il Corvane&quot; (1 il primo) invece che per quello mostrato.</source>
        <translation>With --profile: the profile is for Corvane number &lt;n&gt; of &quot;Choose the Corvane&quot; (1 the first) instead of the one shown.</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>--pad vuole --profile e un numero da 1 a %1.</source>
        <translation>--pad needs --profile and a number from 1 to %1.</translation>
    </message>
</context>
<context>
    <name>DesktopPrograms</name>
    <message>
        <source>Nessun programma per le periferiche di gioco è installato.<byte value="xd"/>Per provare e regolare il Corvane installare il pacchetto &quot;jstest-gtk&quot;<byte value="xd"/>(ad esempio con il comando: sudo apt install jstest-gtk).</source>
        <translation>No game-controller program is installed.<byte value="xd"/>To test and adjust the Corvane, install the package &quot;jstest-gtk&quot;<byte value="xd"/>(for example with the command: sudo apt install jstest-gtk).</translation>
    </message>
    <message>
        <source>Nessun editor di testo è stato trovato.<byte value="xd"/>Per cambiare la mappa dei tasti/assi aprire con un editor di testo il file:<byte value="xd"/>%1</source>
        <translation>No text editor was found.<byte value="xd"/>To change the button/axis map, open this file with a text editor:<byte value="xd"/>%1</translation>
    </message>
</context>
<context>
    <name>Generale</name>
    <message>
        <source>il comando contiene un a capo</source>
        <translation>the command holds a line break</translation>
    </message>
    <message>
        <source>il comando inizia con uno spazio</source>
        <translation>the command starts with a blank</translation>
    </message>
    <message>
        <source>codice e comando sono lunghi %1 caratteri, al massimo %2</source>
        <translation>code and command are %1 characters long, at most %2</translation>
    </message>
    <message>
        <source>il comando contiene mezzo carattere</source>
        <translation>the command holds half a character</translation>
    </message>
    <message>
        <source>l&apos;uscita contiene un a capo</source>
        <translation>the output contains a line break</translation>
    </message>
    <message>
        <source>l&apos;uscita è lunga %1 caratteri, al massimo %2</source>
        <translation>the output is %1 characters long, at most %2</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Come usare il programma:</source>
        <translation>How to use the program:</translation>
    </message>
    <message>
        <source>  -1-  Collegare il Corvane alla porta USB del computer.</source>
        <translation>  -1-  Connect the Corvane to a USB port of the computer.</translation>
    </message>
    <message>
        <source>  -2-  Premere &lt; Start &gt; per iniziare l&apos;acquisizione dei dati.</source>
        <translation>  -2-  Press &lt; Start &gt; to begin reading the data.</translation>
    </message>
    <message>
        <source>  -3-  Muovere i comandi del corvane ed osservarne gli effetti.</source>
        <translation>  -3-  Move the controls of the Corvane and watch their effects.</translation>
    </message>
    <message>
        <source>Nessun corvane è stato rilevato.</source>
        <translation>No Corvane was detected.</translation>
    </message>
    <message>
        <source>E&apos; stato rilevato %1 corvane.</source>
        <translation>%1 Corvane was detected.</translation>
    </message>
    <message>
        <source>Sono stati rilevati %1 corvane.</source>
        <translation>%1 Corvanes were detected.</translation>
    </message>
    <message>
        <source>Modifica della codifica dei tasti/assi:</source>
        <translation>Changing the codes of the buttons/axes:</translation>
    </message>
    <message>
        <source>Questo programma supporta la maggior parte dei Corvane/Joystick in commercio.</source>
        <translation>This program supports most of the Corvanes/joysticks on the market.</translation>
    </message>
    <message>
        <source>Per codificare una nuova periferica aprire il file %1, assegnare ai tasti i codici</source>
        <translation>To code a new device, open the file %1, give the buttons the codes</translation>
    </message>
    <message>
        <source>letti nel programma quindi (dopo aver salvato i dati nel file %1) eseguire un</source>
        <translation>read in the program, then (after saving the data in the file %1) double-click</translation>
    </message>
    <message>
        <source>doppio click sul simbolo posto al centro dell&apos;immagine del corvane per caricare la nuova</source>
        <translation>the symbol in the middle of the picture of the Corvane to load the new</translation>
    </message>
    <message>
        <source>mappa dei tasti/assi.</source>
        <translation>map of the buttons/axes.</translation>
    </message>
    <message>
        <source>Premere OK per editare il file %1</source>
        <translation>Press OK to edit the file %1</translation>
    </message>
    <message>
        <source>Mappa dei tasti/assi caricata</source>
        <translation>Map of the buttons/axes loaded</translation>
    </message>
    <message>
        <source> Codice tasto: </source>
        <translation> Button code: </translation>
    </message>
    <message>
        <source>Posizione: </source>
        <translation>Position: </translation>
    </message>
    <message>
        <source>Corvane</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>Dorso del Corvane</source>
        <translation>Back of the Corvane</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Tasto 1 premuto</source>
        <translation>Button 1 pressed</translation>
    </message>
    <message>
        <source>Tasto 2 premuto</source>
        <translation>Button 2 pressed</translation>
    </message>
    <message>
        <source>Tasto 3 premuto</source>
        <translation>Button 3 pressed</translation>
    </message>
    <message>
        <source>Tasto 4 premuto</source>
        <translation>Button 4 pressed</translation>
    </message>
    <message>
        <source>Tasto 9 premuto</source>
        <translation>Button 9 pressed</translation>
    </message>
    <message>
        <source>Tasto 10 premuto</source>
        <translation>Button 10 pressed</translation>
    </message>
    <message>
        <source>Tasto Mode premuto</source>
        <translation>Button Mode pressed</translation>
    </message>
    <message>
        <source>Tasto Vibr premuto</source>
        <translation>Button Vibr pressed</translation>
    </message>
    <message>
        <source>Tasto L1 premuto</source>
        <translation>Button L1 pressed</translation>
    </message>
    <message>
        <source>Tasto R1 premuto</source>
        <translation>Button R1 pressed</translation>
    </message>
    <message>
        <source>Tasto L2 premuto</source>
        <translation>Button L2 pressed</translation>
    </message>
    <message>
        <source>Tasto R2 premuto</source>
        <translation>Button R2 pressed</translation>
    </message>
    <message>
        <source>Tasto X/Y premuto</source>
        <translation>Button X/Y pressed</translation>
    </message>
    <message>
        <source>Tasto Z/R premuto</source>
        <translation>Button Z/R pressed</translation>
    </message>
    <message>
        <source>Croce al centro</source>
        <translation>Direction pad centred</translation>
    </message>
    <message>
        <source>Croce in alto</source>
        <translation>Direction pad up</translation>
    </message>
    <message>
        <source>Croce in alto a destra</source>
        <translation>Direction pad up right</translation>
    </message>
    <message>
        <source>Croce a destra</source>
        <translation>Direction pad right</translation>
    </message>
    <message>
        <source>Croce in basso a destra</source>
        <translation>Direction pad down right</translation>
    </message>
    <message>
        <source>Croce in basso</source>
        <translation>Direction pad down</translation>
    </message>
    <message>
        <source>Croce in basso a sinistra</source>
        <translation>Direction pad down left</translation>
    </message>
    <message>
        <source>Croce a sinistra</source>
        <translation>Direction pad left</translation>
    </message>
    <message>
        <source>Croce in alto a sinistra</source>
        <translation>Direction pad up left</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Levetta sinistra, orizzontale</source>
        <translation>Left stick, horizontal</translation>
    </message>
    <message>
        <source>Levetta sinistra, verticale</source>
        <translation>Left stick, vertical</translation>
    </message>
    <message>
        <source>Levetta destra, orizzontale</source>
        <translation>Right stick, horizontal</translation>
    </message>
    <message>
        <source>Levetta destra, verticale</source>
        <translation>Right stick, vertical</translation>
    </message>
    <message>
        <source>Aggiorna la mappa dei tasti/assi</source>
        <translation>Reload the map of the buttons/axes</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Emulazione Corvane</source>
        <translation>Corvane emulation</translation>
    </message>
    <message>
        <source>Numero Corvane configurati</source>
        <translation>Number of Corvanes configured</translation>
    </message>
    <message>
        <source>Periferiche di gioco (Pannello di controllo)</source>
        <translation>Game controllers (Control Panel)</translation>
    </message>
    <message>
        <source>Fine Programma</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Come assegnare i tasti</source>
        <translation>How to assign the buttons</translation>
    </message>
    <message>
        <source>Informazioni su...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Scegli il Corvane</source>
        <translation>Choose the Corvane</translation>
    </message>
    <message>
        <source>Automatico (il primo che risponde)</source>
        <translation>Automatic (the first that answers)</translation>
    </message>
    <message>
        <source>Corvane senza nome</source>
        <translation>Unnamed Corvane</translation>
    </message>
    <message>
        <source>%1 (scollegato)</source>
        <translation>%1 (unplugged)</translation>
    </message>
    <message>
        <source>Nessun corvane collegato</source>
        <translation>No Corvane connected</translation>
    </message>
    <message>
        <source>Impossibile salvare la scelta del Corvane in %1: vale fino alla chiusura del programma.</source>
        <translation>Cannot save the choice of Corvane in %1: it holds until the program is closed.</translation>
    </message>
    <message>
        <source>Assegna i tasti…</source>
        <translation>Assign keys…</translation>
    </message>
    <message>
        <source>In attesa di un corvane…</source>
        <translation>Waiting for a Corvane…</translation>
    </message>
    <message>
        <source>Profilo</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Nuovo profilo…</source>
        <translation>New profile…</translation>
    </message>
    <message>
        <source>Rinomina profilo…</source>
        <translation>Rename profile…</translation>
    </message>
    <message>
        <source>Elimina profilo…</source>
        <translation>Delete profile…</translation>
    </message>
    <message>
        <source>Nuovo profilo</source>
        <translation>New profile</translation>
    </message>
    <message>
        <source>Nome del nuovo profilo, copia di &quot;%1&quot;:</source>
        <translation>Name of the new profile, a copy of &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>Rinomina profilo</source>
        <translation>Rename profile</translation>
    </message>
    <message>
        <source>Nuovo nome del profilo &quot;%1&quot;:</source>
        <translation>New name of the profile &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>Spostare il profilo &quot;%1&quot; nel cestino?</source>
        <translation>Move the profile &quot;%1&quot; to the trash?</translation>
    </message>
    <message>
        <source> (porta %1)</source>
        <translation> (port %1)</translation>
    </message>
    <message>
        <source>Il comando &quot;%1&quot; non si è avviato: %2</source>
        <translation>The command &quot;%1&quot; did not start: %2</translation>
    </message>
    <message>
        <source>Uscita ferma: questa finestra è in primo piano</source>
        <translation>Output paused: this window is in front</translation>
    </message>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
    </message>
</context>
<context>
    <name>MapFile</name>
    <message>
        <source>Il file %1 accanto al programma non si può modificare ed è letto al posto di ogni altra mappa.<byte value="xd"/>Per usare un&apos;altra mappa avviare il programma con --map FILE.</source>
        <translation>The file %1 beside the program cannot be changed and is read instead of any other map.<byte value="xd"/>To use another map, start the program with --map FILE.</translation>
    </message>
</context>
<context>
    <name>OpenOutputDevice</name>
    <message>
        <source>Il controller non può fare da tastiera e mouse perché /dev/uinput non si può aprire in scrittura. Installare il pacchetto del programma, la cui regola udev dà l&apos;accesso a chi siede al computer, o scrivere la stessa regola in /etc/udev/rules.d/70-corvane-uinput.rules:
KERNEL==&quot;uinput&quot;, SUBSYSTEM==&quot;misc&quot;, OPTIONS+=&quot;static_node=uinput&quot;, TAG+=&quot;uaccess&quot;
poi riavviare il computer, o eseguire «sudo udevadm trigger /dev/uinput».</source>
        <translation>The controller cannot act as keyboard and mouse because /dev/uinput cannot be opened for writing. Install the program&apos;s package, whose udev rule gives access to the user at the seat, or write the same rule into /etc/udev/rules.d/70-corvane-uinput.rules:
KERNEL==&quot;uinput&quot;, SUBSYSTEM==&quot;misc&quot;, OPTIONS+=&quot;static_node=uinput&quot;, TAG+=&quot;uaccess&quot;
then restart the computer, or run «sudo udevadm trigger /dev/uinput».</translation>
    </message>
</context>
<context>
    <name>ProfileMenu</name>
    <message>
        <source>%1 (non si può leggere)</source>
        <translation>%1 (cannot be read)</translation>
    </message>
    <message>
        <source>Profilo</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Profilo da usare:</source>
        <translation>Profile to use:</translation>
    </message>
    <message>
        <source>Mappa %1 (--map)</source>
        <translation>Map %1 (--map)</translation>
    </message>
    <message>
        <source>Altri…</source>
        <translation>More…</translation>
    </message>
    <message>
        <source>Cambio per finestra: spento su Wayland</source>
        <translation>Switch by window: off on Wayland</translation>
    </message>
</context>
<context>
    <name>ProfileName</name>
    <message>
        <source>Il nome del profilo è vuoto.</source>
        <translation>The profile name is empty.</translation>
    </message>
    <message>
        <source>Il nome del profilo non può contenere &quot;/&quot;.</source>
        <translation>A profile name cannot contain &quot;/&quot;.</translation>
    </message>
    <message>
        <source>Il nome del profilo non può cominciare con &quot;.&quot;.</source>
        <translation>A profile name cannot start with &quot;.&quot;.</translation>
    </message>
    <message>
        <source>Il nome del profilo non può contenere caratteri di controllo.</source>
        <translation>A profile name cannot contain control characters.</translation>
    </message>
    <message>
        <source>Il nome del profilo supera %1 caratteri.</source>
        <translation>The profile name is longer than %1 characters.</translation>
    </message>
    <message>
        <source>Il nome del profilo non può cominciare né finire con uno spazio.</source>
        <translation>The profile name cannot start or end with a blank.</translation>
    </message>
    <message>
        <source>Il nome del profilo non può contenere caratteri invisibili o che cambiano la direzione del testo.</source>
        <translation>The profile name cannot contain invisible characters or characters that change the text&apos;s direction.</translation>
    </message>
</context>
<context>
    <name>ProfileSet</name>
    <message>
        <source>Il profilo &quot;%1&quot; non c&apos;è più: vale il profilo %2.</source>
        <translation>The profile &quot;%1&quot; is gone: the profile %2 is in use.</translation>
    </message>
    <message>
        <source>Predefinito</source>
        <translation>Default</translation>
    </message>
    <message>
        <source> (non si può leggere)</source>
        <translation> (cannot be read)</translation>
    </message>
    <message>
        <source>Mappa %1</source>
        <translation>Map %1</translation>
    </message>
    <message>
        <source>Profilo %1</source>
        <translation>Profile %1</translation>
    </message>
    <message>
        <source>Profilo %1: il file non si può leggere, valgono i valori predefiniti.</source>
        <translation>Profile %1: its file cannot be read, the defaults apply.</translation>
    </message>
    <message>
        <source>Non si può creare la cartella %1.</source>
        <translation>The folder %1 cannot be created.</translation>
    </message>
    <message>
        <source>corvane: il profilo %1 non è ricordato: al prossimo avvio vale il profilo %2.
</source>
        <translation>corvane: the profile %1 is not remembered: the next start uses the profile %2.
</translation>
    </message>
    <message>
        <source>Profilo %1, non ricordato: al prossimo avvio vale %2</source>
        <translation>Profile %1, not remembered: the next start uses %2</translation>
    </message>
    <message>
        <source>%1 file di profilo con un nome non UTF-8: rinominarli per usarli</source>
        <translation>%1 profile file(s) with a name that is not UTF-8: rename them to use them</translation>
    </message>
    <message>
        <source>%1 file di profilo con un nome che un profilo non può avere: rinominarli per usarli</source>
        <translation>%1 profile file(s) with a name no profile may have: rename them to use them</translation>
    </message>
    <message>
        <source>Il profilo %1 non si può rinominare.</source>
        <translation>The profile %1 cannot be renamed.</translation>
    </message>
    <message>
        <source>Il file %1 non si può rinominare.</source>
        <translation>The file %1 cannot be renamed.</translation>
    </message>
    <message>
        <source>Il profilo %1 non si può eliminare.</source>
        <translation>The profile %1 cannot be deleted.</translation>
    </message>
    <message>
        <source>Il file %1 non si può spostare nel cestino.</source>
        <translation>The file %1 cannot be moved to the trash.</translation>
    </message>
    <message>
        <source>Esiste già un profilo di nome %1.</source>
        <translation>A profile named %1 already exists.</translation>
    </message>
    <message>
        <source>Profilo %1, per la finestra in primo piano</source>
        <translation>Profile %1, for the window in front</translation>
    </message>
    <message>
        <source>Non si può creare il file %1: %2</source>
        <translation>The file %1 cannot be created: %2</translation>
    </message>
</context>
<context>
    <name>QtShell</name>
    <message>
        <source>Tutti i diritti sono riservati</source>
        <translation>All rights reserved</translation>
    </message>
    <message>
        <source>la riga di comando non nomina un programma</source>
        <translation>the command line names no program</translation>
    </message>
    <message>
        <source>il programma %1 non c&apos;è</source>
        <translation>the program %1 is not there</translation>
    </message>
</context>
<context>
    <name>StartAtLogin</name>
    <message>
        <source>Avvia all&apos;accesso</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>Impossibile scrivere il file %1.</source>
        <translation>Cannot write the file %1.</translation>
    </message>
    <message>
        <source>Impossibile eliminare il file %1.</source>
        <translation>Cannot remove the file %1.</translation>
    </message>
    <message>
        <source>Il file %1 esiste già e non è stato scritto da questo programma: non è stato modificato.</source>
        <translation>The file %1 already exists and was not written by this program: it was not changed.</translation>
    </message>
    <message>
        <source>Il percorso di questo programma contiene caratteri che un file di avvio automatico non può contenere (per esempio un a capo): %1 non è stato scritto.</source>
        <translation>This program&apos;s path holds characters that an autostart file cannot hold (a line break, for instance): %1 was not written.</translation>
    </message>
</context>
<context>
    <name>TestoVersione</name>
    <message>
        <source>Versione %1.%2%3</source>
        <translation>Version %1.%2%3</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Fine Programma</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Lettura di %1</source>
        <translation>Reading %1</translation>
    </message>
    <message>
        <source>In attesa di un corvane</source>
        <translation>Waiting for a Corvane</translation>
    </message>
    <message>
        <source>Acquisizione ferma</source>
        <translation>Reading stopped</translation>
    </message>
    <message>
        <source>Nascondi la finestra</source>
        <translation>Hide the window</translation>
    </message>
    <message>
        <source>Mostra la finestra</source>
        <translation>Show the window</translation>
    </message>
    <message>
        <source>Profilo</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Profilo %1</source>
        <translation>Profile %1</translation>
    </message>
    <message>
        <source>%1. %2: %3</source>
        <translation>%1. %2: %3</translation>
    </message>
    <message>
        <source>%1. %2: profilo %3</source>
        <translation>%1. %2: profile %3</translation>
    </message>
</context>
<context>
    <name>Uscita</name>
    <message>
        <source>pausa fuori misura: %1 (da 1 a %2 ms)</source>
        <translation>pause out of range: %1 (1 to %2 ms)</translation>
    </message>
    <message>
        <source>manca un tasto accanto a un +: %1</source>
        <translation>a key is missing beside a +: %1</translation>
    </message>
    <message>
        <source>tasto sconosciuto: %1</source>
        <translation>unknown key: %1</translation>
    </message>
    <message>
        <source>numero fuori misura: %1 (da %2 a %3)</source>
        <translation>number out of range: %1 (%2 to %3)</translation>
    </message>
    <message>
        <source>manca un passo tra due virgole: %1</source>
        <translation>a step is missing between two commas: %1</translation>
    </message>
    <message>
        <source>nessun tasto, solo pause: %1</source>
        <translation>no key, only pauses: %1</translation>
    </message>
    <message>
        <source>alterna vale per tasti premuti insieme, non per una sequenza</source>
        <translation>alterna is for keys pressed together, not for a sequence</translation>
    </message>
    <message>
        <source>scelta sconosciuta: %1 (puntatore, rotella, frecce o wasd)</source>
        <translation>unknown choice: %1 (puntatore, rotella, frecce or wasd)</translation>
    </message>
    <message>
        <source>scelta sconosciuta: %1 (frecce)</source>
        <translation>unknown choice: %1 (frecce)</translation>
    </message>
    <message>
        <source>Questo tasto non si può inviare attraverso X11 (XTest), che non ha un codice per esso; attraverso /dev/uinput sì.</source>
        <translation>This key cannot be sent through X11 (XTest), which has no code for it; through /dev/uinput it can.</translation>
    </message>
    <message>
        <source>la voce è più lunga di %1 caratteri</source>
        <translation>the entry is longer than %1 characters</translation>
    </message>
    <message>
        <source>tenuto e doppio sono tasti premuti insieme: %1</source>
        <translation>tenuto and doppio are keys pressed together: %1</translation>
    </message>
    <message>
        <source>Uscita del tasto %1: %2</source>
        <translation>Output of button %1: %2</translation>
    </message>
</context>
<context>
    <name>cJoy</name>
    <message>
        <source>%1 = %2 fuori dall&apos;intervallo a 32 bit</source>
        <translation>%1 = %2 outside the 32-bit range</translation>
    </message>
    <message>
        <source>valore di %1 convertito (%2) fuori dall&apos;intervallo a 32 bit</source>
        <translation>converted value of %1 (%2) outside the 32-bit range</translation>
    </message>
    <message>
        <source>ampiezza dell&apos;asse %1 (%2 - %3) fuori dall&apos;intervallo a 32 bit</source>
        <translation>span of axis %1 (%2 - %3) outside the 32-bit range</translation>
    </message>
    <message>
        <source>nessun testo per il codice di errore %1</source>
        <translation>no text for error code %1</translation>
    </message>
    <message>
        <source>%1 slot sono troppi per il contatore a 16 bit</source>
        <translation>%1 slots are too many for the 16-bit counter</translation>
    </message>
    <message>
        <source>errore imprevisto</source>
        <translation>unexpected error</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Informazioni su %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Avviso: Lo scopo di questo programma è quello di mostrare come sia possibile utilizzare un Corvane per controllare programmi industriali ed applicazioni da me create. L&apos;autore non è responsabile per i danni diretti, indiretti e consequenziali derivati dall&apos;uso del presente programma e delle periferiche ad esso riferite.</source>
        <translation>Notice: the purpose of this program is to show how a Corvane can be used to control industrial programs and applications of my own making. The author is not liable for direct, indirect or consequential damages arising from the use of this program and of the devices it refers to.</translation>
    </message>
</context>
<context>
    <name>frmAssegna</name>
    <message>
        <source>Assegna i tasti</source>
        <translation>Assign keys</translation>
    </message>
    <message>
        <source>Nessun corvane collegato: i codici si possono scrivere a mano.</source>
        <translation>No corvane connected: the codes can be typed.</translation>
    </message>
    <message>
        <source>Tasti</source>
        <translation>Buttons</translation>
    </message>
    <message>
        <source>Codice</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Comando</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Premi…</source>
        <translation>Press…</translation>
    </message>
    <message>
        <source>Scegli il programma</source>
        <translation>Choose the program</translation>
    </message>
    <message>
        <source>Prova</source>
        <translation>Try</translation>
    </message>
    <message>
        <source>Croce direzionale: elemento mostrato per ogni codice</source>
        <translation>Direction cross: element shown for each code</translation>
    </message>
    <message>
        <source>Levette analogiche</source>
        <translation>Analogue sticks</translation>
    </message>
    <message>
        <source>Levetta sinistra: X orizzontale, Y verticale (altrimenti scambiati)</source>
        <translation>Left stick: X horizontal, Y vertical (else exchanged)</translation>
    </message>
    <message>
        <source>Levetta destra: Z orizzontale, R verticale (altrimenti scambiati)</source>
        <translation>Right stick: Z horizontal, R vertical (else exchanged)</translation>
    </message>
    <message>
        <source>Asse %1 nel suo verso (altrimenti invertito)</source>
        <translation>Axis %1 in its own direction (else inverted)</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Annulla</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>acceso a ogni pressione di un tasto</source>
        <translation>lit on every press</translation>
    </message>
    <message>
        <source>stesso codice del tasto %1</source>
        <translation>same code as button %1</translation>
    </message>
    <message>
        <source>mai premuto: il corvane collegato ha %1 tasti</source>
        <translation>never pressed: the connected corvane has %1 buttons</translation>
    </message>
    <message>
        <source>Il corvane non risponde: il codice si può scrivere a mano.</source>
        <translation>The corvane does not answer: the code can be typed.</translation>
    </message>
    <message>
        <source>Premere insieme i tasti del corvane per il tasto %1, poi rilasciarli.</source>
        <translation>Press the corvane&apos;s buttons together for button %1, then release them.</translation>
    </message>
    <message>
        <source>Il tasto %1 ha ora il codice %2.</source>
        <translation>Button %1 now has the code %2.</translation>
    </message>
    <message>
        <source>Il tasto %1 non si può salvare: %2.</source>
        <translation>Button %1 cannot be saved: %2.</translation>
    </message>
    <message>
        <source>Impossibile salvare il file %1:<byte value="xd"/>non si può leggere per intero, e quello che contiene andrebbe perso.</source>
        <translation>Cannot save the file %1:<byte value="xd"/>it cannot be read whole, and what it holds would be lost.</translation>
    </message>
    <message>
        <source>Ricarica</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Sovrascrivi</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>la cartella non si può creare</source>
        <translation>the folder cannot be created</translation>
    </message>
    <message>
        <source>Impossibile salvare il file %1:<byte value="xd"/>%2</source>
        <translation>Cannot save the file %1:<byte value="xd"/>%2</translation>
    </message>
    <message>
        <source>La mappa è stata salvata nel file %1, letto d&apos;ora in poi.</source>
        <translation>The map was saved in the file %1, which is read from now on.</translation>
    </message>
    <message>
        <source>La finestra mostra la mappa come è ora nel file, diversa da quella in uso: il doppio click sul simbolo al centro del corvane la carica.</source>
        <translation>This window shows the map as the file holds it now, which differs from the one in use: a double-click on the symbol in the middle of the corvane loads it.</translation>
    </message>
    <message>
        <source>Il file %1 è cambiato dopo che questa finestra lo ha letto, anche nei tasti modificati qui.</source>
        <translation>The file %1 has changed since this window read it, in entries changed here too.</translation>
    </message>
    <message>
        <source>Assegna i tasti: %1</source>
        <translation>Assign keys: %1</translation>
    </message>
    <message>
        <source>Il comando &quot;%1&quot; non si è avviato: %2</source>
        <translation>The command &quot;%1&quot; did not start: %2</translation>
    </message>
    <message>
        <source>Il file %1 non c&apos;è più: dopo che questa finestra lo ha letto è stato rinominato o eliminato.</source>
        <translation>The file %1 is gone: it was renamed or deleted after this window read it.</translation>
    </message>
    <message>
        <source>La mappa è stata salvata nel file %1, che questa finestra mostrava; ora vale: %2.</source>
        <translation>The map was saved in the file %1, which this window showed; now in force: %2.</translation>
    </message>
    <message>
        <source>Prova annullata: nessun&apos;altra finestra è venuta in primo piano.</source>
        <translation>Try cancelled: no other window came to the front.</translation>
    </message>
    <message>
        <source>Uscita</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>Tasti della tastiera per nome (SPACE, LEFTCTRL+C, &quot;H, I&quot;), pulsanti del mouse, rotella</source>
        <translation>Keyboard keys by name (SPACE, LEFTCTRL+C, &quot;H, I&quot;), mouse buttons, wheel</translation>
    </message>
    <message>
        <source>Tastiera…</source>
        <translation>Keyboard…</translation>
    </message>
    <message>
        <source>L&apos;uscita dai tasti premuti sulla tastiera</source>
        <translation>The output from the keys pressed on the keyboard</translation>
    </message>
    <message>
        <source>Uscita della levetta sinistra</source>
        <translation>Left stick output</translation>
    </message>
    <message>
        <source>Uscita della levetta destra</source>
        <translation>Right stick output</translation>
    </message>
    <message>
        <source>l&apos;uscita non fa nulla: %1</source>
        <translation>the output does nothing: %1</translation>
    </message>
    <message>
        <source>Nessun tasto imparato.</source>
        <translation>No key learnt.</translation>
    </message>
    <message>
        <source>Premere sulla tastiera il tasto, o i tasti insieme, che il tasto %1 invierà; un altro click su «Tastiera…» annulla.</source>
        <translation>Press on the keyboard the key, or the keys together, that button %1 will send; another click on «Keyboard…» cancels.</translation>
    </message>
    <message>
        <source>Il tasto premuto non ha un nome che l&apos;uscita conosca: l&apos;uscita si può scrivere a mano.</source>
        <translation>The key pressed has no name the output knows: the output can be typed by hand.</translation>
    </message>
    <message>
        <source>Il tasto %1 invia ora %2.</source>
        <translation>Button %1 now sends %2.</translation>
    </message>
    <message>
        <source>L&apos;uscita non si può provare: %1</source>
        <translation>The output cannot be tried: %1</translation>
    </message>
    <message>
        <source>L&apos;uscita del tasto %1 parte un secondo dopo che un&apos;altra finestra è venuta in primo piano, entro 10 secondi.</source>
        <translation>The output of button %1 is sent a second after another window has come to the front, within 10 seconds.</translation>
    </message>
    <message>
        <source>L&apos;uscita del tasto %1 è stata inviata.</source>
        <translation>The output of button %1 has been sent.</translation>
    </message>
    <message>
        <source>L&apos;uscita %1 non si può salvare: %2.</source>
        <translation>Output %1 cannot be saved: %2.</translation>
    </message>
    <message>
        <source>Prova annullata: l&apos;uscita del tasto %1 non fa nulla.</source>
        <translation>Try cancelled: the output of button %1 does nothing.</translation>
    </message>
</context>
<context>
    <name>platform::FileAccess</name>
    <message>
        <source>il file appartiene all&apos;utente %1: salvato da un altro utente ne cambierebbe il proprietario, e %1 potrebbe non leggerlo più</source>
        <translation>the file belongs to the user %1: saved by another user it would change owner, and %1 might no longer be able to read it</translation>
    </message>
    <message>
        <source>il file è del gruppo %1, che il file salvato non può mantenere (%2)</source>
        <translation>the file belongs to the group %1, which the saved file cannot keep (%2)</translation>
    </message>
    <message>
        <source>i permessi del file (ACL) non si possono mantenere (%1)</source>
        <translation>the file&apos;s access list (ACL) cannot be kept (%1)</translation>
    </message>
    <message>
        <source>gli attributi estesi del file non si possono mantenere (%1)</source>
        <translation>the file&apos;s extended attributes cannot be kept (%1)</translation>
    </message>
</context>
<context>
    <name>platform::ProfileWriter</name>
    <message>
        <source>il carattere &quot;%1&quot; (U+%2) non si può scrivere nella codifica del file (%3)</source>
        <translation>the character &quot;%1&quot; (U+%2) cannot be written in the file&apos;s encoding (%3)</translation>
    </message>
    <message>
        <source>il file, scritto in Windows-1252, verrebbe letto come UTF-8 e altre sue lettere cambierebbero</source>
        <translation>the file, written in Windows-1252, would be read as UTF-8 and other letters in it would change</translation>
    </message>
    <message>
        <source>il file salvato supererebbe %1 byte e non si leggerebbe più</source>
        <translation>the saved file would exceed %1 bytes and could no longer be read</translation>
    </message>
</context>
<context>
    <name>session::Acquisizione</name>
    <message>
        <source>%1. %2: profilo %3
</source>
        <translation>%1. %2: profile %3
</translation>
    </message>
    <message>
        <source>%1. %2: il profilo scelto se è il corvane mostrato, se no %3
</source>
        <translation>%1. %2: the chosen profile if it is the Corvane shown, else %3
</translation>
    </message>
</context>
</TS>
